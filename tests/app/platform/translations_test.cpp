// The English catalogue as installed, over the texts and contexts lupdate finds in the sources.
#include "platform/Translations.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "app_test_support.hpp"

TEST(Translations, texts_naming_the_other_platform_read_as_this_desktops_words_in_every_context) {
  installTranslations(apptest::application());
  const QTemporaryDir folder;
  const QString found = folder.filePath(QStringLiteral("found.ts"));
  ASSERT_EQ(QProcess::execute(QStringLiteral(QUELMARIS_LUPDATE), {"-silent", "-locations", "none", "-extensions",
                                                                  "cpp,h", QUELMARIS_APP_SOURCES, "-ts", found}),
            0);
  QFile file(found);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QRegularExpression otherPlatform(QStringLiteral("Finder|iCloud|APFS|\\bMac\\b|\u2318|Quick Look"));
  QStringList checked;
  QByteArray context;
  bool counted = false;
  for (QXmlStreamReader ts(&file); !ts.atEnd();) {
    if (ts.readNext() != QXmlStreamReader::StartElement) continue;
    if (ts.name() == u"name") context = ts.readElementText().toUtf8();
    if (ts.name() == u"message") counted = ts.attributes().value("numerus") == u"yes";
    if (ts.name() != u"source") continue;
    const QString source = ts.readElementText();
    if (!source.contains(otherPlatform)) continue;
    const QString shown = QCoreApplication::translate(context, source.toUtf8(), nullptr, counted ? 1 : -1);
    EXPECT_FALSE(shown.contains(otherPlatform)) << context.toStdString() << ": " << shown.toStdString();
    checked.append(context + u'/' + source);
  }
  for (const char* text :
       {"FileReveal/Show in Finder", "FileDetails/Quick Look (Space) · Show in Finder", "FileDetails/Quick Look",
        "ResultsCommands/Quick Look", "QuickLookPreview/Quick Look", "MainToolBar/Stop the scan (⌘.)"})
    EXPECT_TRUE(checked.contains(QString::fromUtf8(text))) << text << " is no longer found in the sources";
}
