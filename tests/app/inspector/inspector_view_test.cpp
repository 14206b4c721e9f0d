// The inspector column over a fake provider.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <ctime>

#include "fake_metadata_provider.hpp"
#include "inspector/FileDetails.h"
#include "inspector/InspectorModel.h"
#include "inspector/InspectorView.h"
#include "inspector/SetDetails.h"
#include "inspector/SymbolLabel.h"
#include "inspector/Thumbnail.h"
#include "interface/FormattedByteCount.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using namespace widgettest;
using apptest::FakeMetadataProvider;

// Dates and grouped numbers as in the United States, at UTC.
const bool englishAtUtc = [] {
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  return true;
}();

class InspectorViewTest : public ::testing::Test {
 protected:
  InspectorViewTest() {
    // Two names, shared blocks, no creation time, a moment before 1970.
    FileEntry& linked = set.files[1];
    std::tie(linked.size, linked.createdNs, linked.modifiedNs, linked.nlink, linked.mayShareBlocks, linked.freedBytes) =
        std::tuple(1234567, std::nullopt, -1, 2, true, std::nullopt);
    view.resize(300, 900);
    view.show();
  }

  // What a screen reader reads as the widget's description: plain text.
  static QString description(QWidget* pane, const char* name) {
    return QAccessible::queryAccessibleInterface(pane->findChild<QWidget*>(QString::fromLatin1(name)))
        ->text(QAccessible::Description);
  }
  QString text(QWidget* pane, const char* name) {
    if (auto* label = pane->findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
    return pane->findChild<SymbolLabel*>(QString::fromLatin1(name))->text();
  }
  bool shown(QWidget* pane, const char* name) { return pane->findChild<QWidget*>(name)->isVisibleTo(pane); }
  // Until the metadata and the thumbnail, which may come after it, are both in.
  void waitForLoad() {
    // Long enough for any machine; a test that reaches it has failed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.model().metadata().has_value() && !view.model().isLoading(); },
                                120'000));
  }

  QApplication& app = application();
  ScanStoreDriver driver;
  std::shared_ptr<FakeMetadataProvider> provider = std::make_shared<FakeMetadataProvider>();
  InspectorView view{driver.store, provider, {}};
  FileDetails* file = view.findChild<FileDetails*>();
  SetDetails* setPane = view.findChild<SetDetails*>();
  DuplicateSet set = duplicateSet(7, 2, 100);
};

TEST_F(InspectorViewTest, the_pane_follows_the_item_and_the_model_follows_its_file) {
  EXPECT_FALSE(view.findChild<QWidget*>(QStringLiteral("inspectorEmptyState"))->isHidden());
  view.setItem(InspectedMember{set, 0});
  waitForLoad();
  EXPECT_TRUE(file->isVisible());
  EXPECT_EQ(provider->calls(set.files[0].path), 2);

  // Keyboard and screen reader: named panes to scroll, buttons that show their focus, labelled values.
  for (QScrollArea* pane : view.findChildren<QScrollArea*>())
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(pane)->text(QAccessible::Name).isEmpty());
  view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
  for (const char* name : {"quickLookButton", "showInFinderButton"}) {
    auto* button = file->findChild<QPushButton*>(QString::fromLatin1(name));
    button->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(showsFocusRing(*button)) << name;
  }
  const auto labels =
      QAccessible::queryAccessibleInterface(file->findChild<QLabel*>("kindValue"))->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels.first().first->text(QAccessible::Name), "Kind");

  DuplicateSet rebuilt = set;
  rebuilt.reclaimable = 50;
  view.setItem(InspectedMember{rebuilt, 0});
  rebuilt.files[0].nlink = 3;
  view.setItem(InspectedMember{rebuilt, 0});
  EXPECT_EQ(provider->calls(set.files[0].path), 2) << "an equal file, or one with the same path and time, loaded again";

  view.setItem(InspectedSet{set});
  EXPECT_TRUE(setPane->isVisible());
  EXPECT_FALSE(view.model().file() || view.model().metadata());
  view.setItem(std::nullopt);
  EXPECT_TRUE(view.findChild<QWidget*>(QStringLiteral("inspectorEmptyState"))->isVisible());
}

TEST_F(InspectorViewTest, a_copy_shows_what_the_scan_recorded_and_then_what_the_disk_says) {
  FileMetadata metadata = FakeMetadataProvider::metadataFor(set.files[1].path);
  metadata.kind = QStringLiteral("PNG image");
  metadata.tags = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
  metadata.volumeName = QStringLiteral("Data");
  metadata.location = FileMetadata::Location::external;
  provider->answer(set.files[1].path, metadata, QImage(8, 8, QImage::Format_RGB32));
  provider->close();
  view.setItem(InspectedMember{set, 1});

  const std::tuple<const char*, QString, QString> rows[] = {
      {"kindValue", "—", "PNG image"},
      {"lastOpenedValue", "—", "Never"},
      {"addedValue", "—", "—"},
      {"volumeValue", "—", "Data"},
      {"formatValue", "—", "—"},
      {"locationValue", "—", "External"},
      {"iCloudValue", "—", "Not in the cloud"},
      {"createdValue", "—", "—"},
      {"hardLinksValue", "2 names · frees 0 B", "2 names · frees 0 B"},
      {"cloneValue", "Yes · frees " + formattedByteCount(0), "Yes · frees " + formattedByteCount(0)},
      {"sizeValue", formattedByteCount(1234567), formattedByteCount(1234567)},
  };
  for (const auto& [row, loading, loaded] : rows) EXPECT_EQ(text(file, row), loading) << row;
  EXPECT_FALSE(shown(file, "tagsSection"));
  EXPECT_FALSE(file->findChild<Thumbnail*>()->hasImage());

  provider->open();
  waitForLoad();
  for (const auto& [row, loading, loaded] : rows) EXPECT_EQ(text(file, row), loaded) << row;
  EXPECT_EQ(text(file, "tagsValue"), QStringLiteral("a, b, c"));
  EXPECT_TRUE(file->findChild<Thumbnail*>()->hasImage());
  EXPECT_FALSE(shown(file, "missingNotice"));
  EXPECT_TRUE(text(file, "modifiedValue").contains(QStringLiteral("1969")));
  EXPECT_TRUE(file->findChild<QLabel*>(QStringLiteral("sizeValue"))->toolTip() == QStringLiteral("1,234,567 bytes"));

  // Another file's results count for nothing here.
  view.setItem(InspectedLookalike{set.files[0]});
  EXPECT_EQ(text(file, "kindValue"), QStringLiteral("—"));
  EXPECT_FALSE(file->findChild<Thumbnail*>()->hasImage());
}

TEST_F(InspectorViewTest, a_gone_lookalike_shows_the_notice_its_difference_and_its_name_literally) {
  const FileEntry lookalike = fileEntry(QStringLiteral("/<i>dir<i>/<b>bold<b>.txt"));
  provider->answer(lookalike.path, FileMetadata{});
  view.setItem(InspectedLookalike{lookalike});
  waitForLoad();
  EXPECT_TRUE(shown(file, "missingNotice"));
  EXPECT_EQ(text(file, "lastOpenedValue"), QStringLiteral("Never"));
  EXPECT_EQ(text(file, "kindValue"), QStringLiteral("—"));
  EXPECT_EQ(shown(file, "differsStatus") ? text(file, "differsStatus") : QString(),
            QStringLiteral("Same name and size, different content"));
  EXPECT_FALSE(shown(file, "keepThisCopyButton") || shown(file, "keptStatus"));
  for (const char* name : {"nameLabel", "folderLabel", "tagsValue", "kindValue", "volumeValue"})
    EXPECT_EQ(file->findChild<QLabel*>(QString::fromLatin1(name))->textFormat(), Qt::PlainText) << name;
  EXPECT_EQ(text(file, "nameLabel"), QStringLiteral("<b>bold<b>.txt"));
  EXPECT_TRUE(file->findChild<QLabel*>(QStringLiteral("folderLabel"))->toolTip().contains(QStringLiteral("&lt;i&gt;")));
  EXPECT_EQ(description(file, "folderLabel"), lookalike.path);
}

TEST_F(InspectorViewTest, a_name_with_a_right_to_left_override_reads_in_the_order_of_its_characters) {
  view.setItem(InspectedLookalike{fileEntry(QStringLiteral("/in\u202Ebox/invoice\u202Etxt.exe"))});
  EXPECT_EQ(text(file, "nameLabel"), QStringLiteral("invoice<U+202E>txt.exe"));
  EXPECT_TRUE(text(file, "folderLabel").contains(QStringLiteral("in<U+202E>box")));
}

TEST_F(InspectorViewTest, long_names_and_folders_elide_in_the_middle_and_carry_the_whole_text) {
  const QString folder = "/photos/" + QString(60, u'f') + "/2024";
  DuplicateSet longSet = duplicateSet(9, 2, 100);
  longSet.displayName = QString(70, u'n') + ".jpg";
  longSet.files[0] = fileEntry(folder + u'/' + longSet.displayName);
  const auto expectElided = [](QWidget* pane, const char* name, const QString& whole) {
    SCOPED_TRACE(name);
    const QLabel& label = *pane->findChild<QLabel*>(QString::fromLatin1(name));
    const QStringList ends = label.text().split(QChar(0x2026));
    ASSERT_EQ(ends.size(), 2) << label.text().toStdString();
    EXPECT_TRUE(whole.startsWith(ends[0]) && whole.endsWith(ends[1]) && !ends[0].isEmpty() && !ends[1].isEmpty());
    EXPECT_LE(label.fontMetrics().horizontalAdvance(label.text()), label.contentsRect().width());
    EXPECT_EQ(label.accessibleName(), whole);
    EXPECT_TRUE(label.toolTip().contains(whole.toHtmlEscaped())) << "the whole text, or the path holding it";
  };
  view.setItem(InspectedMember{longSet, 0});
  expectElided(file, "nameLabel", longSet.displayName);
  expectElided(file, "folderLabel", folder + u'/');
  view.setItem(InspectedSet{longSet});
  expectElided(setPane, "displayNameLabel", longSet.displayName);
  expectElided(setPane, "keptCopyValue", folder + u'/');
}

TEST_F(InspectorViewTest, keep_this_copy_makes_it_the_kept_and_unmarked_copy) {
  driver.store.changeSelection([&](SelectionModel& selection) { selection.setMarked(true, 1, set); });
  view.setItem(InspectedMember{set, 0});
  auto* keep = file->findChild<QPushButton*>(QStringLiteral("keepThisCopyButton"));
  const auto offeredAndKept = [&] { return std::pair(keep->isEnabled(), shown(file, "keptStatus")); };
  EXPECT_EQ(offeredAndKept(), std::pair(false, true)) << "the suggested copy is kept without an entry";

  view.setItem(InspectedMember{set, 1});
  EXPECT_EQ(offeredAndKept(), std::pair(true, false));
  QTest::mouseClick(keep, Qt::LeftButton);
  EXPECT_EQ(driver.store.selection().keeper(set), 1);
  EXPECT_FALSE(driver.store.selection().marked().contains(set.id));
  EXPECT_EQ(offeredAndKept(), std::pair(false, true));
}

TEST_F(InspectorViewTest, a_set_shows_its_counts_digest_and_kept_copy) {
  const QString alike = QStringLiteral(" with the same name and size but different content");
  const std::tuple<bool, std::optional<QString>, int, QString, QString, QString> cases[] = {
      {true, "0123456789abcdef", 1, "about " + formattedByteCount(100), "BLAKE3 0123456789ab…", "1 other file" + alike},
      {false, "abc12", 0, formattedByteCount(100), "BLAKE3 abc12…", {}},
      {false, std::nullopt, 2, formattedByteCount(100), {}, "2 other files" + alike},
  };
  for (const auto& [estimated, hash, lookalikes, recoverable, digest, note] : cases) {
    SCOPED_TRACE(recoverable.toStdString() + digest.toStdString());
    DuplicateSet shownSet = duplicateSet(8, 3, 100, estimated);
    shownSet.contentHash = hash;
    shownSet.lookalikes = QList<FileEntry>(lookalikes, shownSet.files[0]);
    view.setItem(InspectedSet{shownSet});
    EXPECT_EQ(text(setPane, "countLabel"), QStringLiteral("3 copies of the same file"));
    EXPECT_EQ(text(setPane, "recoverableValue"), recoverable);
    EXPECT_EQ(shown(setPane, "identicalValue") ? text(setPane, "identicalValue") : QString(), digest);
    EXPECT_EQ(hash ? description(setPane, "identicalValue") : QString(), hash.value_or(QString()));
    EXPECT_EQ(shown(setPane, "notVerifiedLabel"), !hash);
    EXPECT_EQ(shown(setPane, "lookalikeNote") ? text(setPane, "lookalikeNote") : QString(), note);
    EXPECT_EQ(text(setPane, "keptCopyValue"), QStringLiteral("/s8/"));
    driver.store.changeSelection([&](SelectionModel& selection) { selection.keep(2, shownSet); });
    EXPECT_TRUE(setPane->findChild<QLabel*>(QStringLiteral("keptCopyValue"))->toolTip().contains(u"/s8/2"));
    EXPECT_EQ(description(setPane, "keptCopyValue"), shownSet.files[2].path);
    driver.store.setSelection({});
  }
}

}  // namespace
