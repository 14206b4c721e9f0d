// The English catalogue as the application installs it: every text of the
// sources that names the other platform (its file manager, cloud, file
// system, computer, command key, or Quick Look as a place) reads as this
// desktop's words, in every context the sources use it. The texts and their
// contexts are found at test time by Qt's own extractor, lupdate.
#include "platform/Translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "app_test_support.hpp"

namespace {

struct SourceText {
  QString context;
  QString source;
  bool counted = false;
};

// Every translatable text of the application's sources, with its context.
std::vector<SourceText> sourceTexts() {
  const QTemporaryDir folder;
  const QString found = folder.filePath(QStringLiteral("found.ts"));
  QProcess lupdate;
  lupdate.start(QStringLiteral(QUELMARIS_LUPDATE), {"-silent", "-locations", "none", "-extensions", "cpp,h",
                                                    QStringLiteral(QUELMARIS_APP_SOURCES), "-ts", found});
  if (!lupdate.waitForFinished(60'000) || lupdate.exitCode() != 0) return {};
  QFile file(found);
  if (!file.open(QIODevice::ReadOnly)) return {};
  std::vector<SourceText> texts;
  QString context;
  for (QXmlStreamReader ts(&file); !ts.atEnd();) {
    if (ts.readNext() != QXmlStreamReader::StartElement) continue;
    if (ts.name() == u"name") context = ts.readElementText();
    if (ts.name() == u"message") texts.push_back({context, {}, ts.attributes().value("numerus") == u"yes"});
    if (ts.name() == u"source") texts.back().source = ts.readElementText();
  }
  return texts;
}

TEST(Translations, texts_naming_the_other_platform_read_as_this_desktops_words_in_every_context) {
  installTranslations(apptest::application());
  const QRegularExpression otherPlatform(
      QStringLiteral("Finder|iCloud|APFS|\\bMac\\b|\u2318|\\b(in|into|to|from|with) Quick Look"));
  QStringList checked;
  for (const auto& [context, source, counted] : sourceTexts()) {
    if (!source.contains(otherPlatform)) continue;
    const QString shown = QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData(),
                                                      nullptr, counted ? 1 : -1);
    EXPECT_FALSE(shown.contains(otherPlatform)) << context.toStdString() << ": " << shown.toStdString();
    checked.append(context + u'/' + source);
  }
  for (const char* text : {"FolderSidebar/Show in Finder", "SkippedListView/Show in Finder",
                           "FileDetails/Quick Look (Space) · Show in Finder", "MainToolBar/Stop the scan (⌘.)"})
    EXPECT_TRUE(checked.contains(QString::fromUtf8(text))) << text << " was not found in the sources";
}

}  // namespace
