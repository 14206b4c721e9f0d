#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "scan/NotReadListModel.h"
#include "scan/SkippedListView.h"
#include "widget_test_support.hpp"

namespace {

using RootSkips = QList<RootSkip>;

QString systemMessage(int errorNumber) { return QString::fromUtf8(std::strerror(errorNumber)); }

// The rows top to bottom: headings as they read, items as "path | reason".
QStringList rowTexts(const QAbstractItemModel& model) {
  QStringList texts;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex index = model.index(row, 0);
    const QString reason = index.data(NotReadListModel::ReasonRole).toString();
    texts.append(index.data(NotReadListModel::IsHeadingRole).toBool() ? index.data().toString()
                                                                      : index.data().toString() + " | " + reason);
  }
  return texts;
}

class SkippedListViewTest : public ::testing::Test {
 protected:
  void SetUp() override { widgettest::application(); }
};

TEST_F(SkippedListViewTest, every_skip_reason_reads_its_own_text_with_the_other_folders_name) {
  using View = SkippedListView;
  const QString inPhotos = "Inside another folder in the list (Photos): scanned through that one.";
  const std::pair<QString, QString> cases[] = {
      {View::skipText({SkipReason::io{EIO}}), "Read error: " + systemMessage(EIO)},
      {View::skipText({SkipReason::dataless{}}), "In the cloud, not downloaded: Quelmaris never downloads files."},
      {View::skipText({SkipReason::permission{}}), "No permission to read it."},
      {View::skipText({SkipReason::invalidName{}}), "The name isn't valid text."},
      {View::skipText({SkipReason::changed{}}), "It changed while being read."},
      {View::rootSkipText({RootSkipReason::nestedIn{"/home/ann/Photos"}}), inPhotos},
      {View::rootSkipText({RootSkipReason::nestedIn{"/home/ann/Photos/"}}), inPhotos},
      {View::rootSkipText({RootSkipReason::duplicate{"/srv/Archive 100%"}}), "The same folder as Archive 100%."},
      {View::rootSkipText({RootSkipReason::duplicate{"/data/%1"}}), "The same folder as %1."},
      {View::rootSkipText({RootSkipReason::unreadable{EACCES}}), "Can't be read: " + systemMessage(EACCES)},
      {View::rootSkipText({RootSkipReason::missing{}}), "Not found."},
      {View::rootSkipText({RootSkipReason::notADirectory{}}), "Not a folder."},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

TEST_F(SkippedListViewTest, folders_come_first_the_items_heading_counts_them_and_empty_lists_show_no_section) {
  SkippedListView foldersOnly({}, {{"/a/b", {RootSkipReason::nestedIn{"/a"}}}});
  EXPECT_EQ(rowTexts(*foldersOnly.list()->model()),
            (QStringList{"Folders", "/a/b | Inside another folder in the list (a): scanned through that one."}));
  EXPECT_EQ(SkippedListView({}, {}).list()->model()->rowCount(), 0);
  // Items are ordered as a file browser orders names, folders keep the store's order.
  const SkipReason changed{SkipReason::changed{}};
  QList<SkippedItem> items;
  for (const char* name : {"file10.txt", "File2.txt", "file1.txt", "B", "a"})
    items.append({"/d/" + QString(name), changed});
  const RootSkips folders{{"/z", {RootSkipReason::missing{}}}, {"/a", {RootSkipReason::missing{}}}};
  SkippedListView ordered(items, folders);
  QAbstractItemModelTester tester(ordered.list()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  const QString reason = " | It changed while being read.";
  EXPECT_EQ(rowTexts(*ordered.list()->model()),
            (QStringList{"Folders", "/z | Not found.", "/a | Not found.", "5 items", "/d/a" + reason, "/d/B" + reason,
                         "/d/file1.txt" + reason, "/d/File2.txt" + reason, "/d/file10.txt" + reason}));
}

TEST_F(SkippedListViewTest, headings_cannot_be_selected_items_show_their_full_path_and_return_closes_the_sheet) {
  const QString longPath = "/very/" + QString(300, u'x') + "/end.bin";
  SkippedListView view({{longPath, {SkipReason::permission{}}}}, {});
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  const QAbstractItemModel& model = *view.list()->model();
  EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsSelectable));
  EXPECT_TRUE(model.flags(model.index(1, 0)).testFlag(Qt::ItemIsSelectable));
  EXPECT_TRUE(model.index(1, 0).data(Qt::ToolTipRole).toString().remove(u'\n').contains(longPath))
      << "whole, broken only at the screen's width";

  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view.list());
  EXPECT_EQ(list->text(QAccessible::Name), "These items were left out of the comparison. Nothing was changed.");
  ASSERT_EQ(list->childCount(), 2);
  const auto read = [](QAccessibleInterface* row) {
    return std::tuple{row->role(), row->text(QAccessible::Name), bool(row->state().selectable)};
  };
  EXPECT_EQ(read(list->child(0)), std::tuple(QAccessible::Heading, QString("1 item"), false));
  EXPECT_EQ(read(list->child(1)), std::tuple(QAccessible::ListItem, longPath + ", No permission to read it.", true));
  EXPECT_EQ(list->indexOfChild(list->child(1)), 1);
  // Shift+F10 opens the current row's menu, as the Menu key does.
  QStringList menu;
  QTimer::singleShot(0, &view, [&] {
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (const QAction* action : popup->actions()) menu << action->text();
      popup->close();
    }
  });
  view.list()->setCurrentIndex(model.index(1, 0));
  QTest::keyClick(view.list(), Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(menu.size(), 1);

  QSignalSpy accepted(&view, &QDialog::accepted);
  QTest::keyClick(&view, Qt::Key_Return);
  EXPECT_EQ(accepted.count(), 1);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.size(), QSize(560, 420));
  EXPECT_TRUE(view.windowFlags().testFlag(Qt::CustomizeWindowHint)) << "no decorations the window manager chooses";
  EXPECT_FALSE(view.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

// The sheet's first focus went to a section's heading, which cannot hold it,
// and "Not Read" was read three times (the window, its title, the list): the
// keyboard starts on the first entry, and the title is the window's name alone.
TEST_F(SkippedListViewTest, the_keyboard_starts_on_the_first_entry_and_not_read_is_said_once) {
  const SkippedItem locked{"/d/locked", {SkipReason::permission{}}};
  const struct {
    const char* lists;
    QList<SkippedItem> skipped;
    RootSkips folders;
    QString first;
  } cases[] = {
      {"items", {locked}, {}, "/d/locked, No permission to read it."},
      {"folders and items", {locked}, {{"/gone", {RootSkipReason::missing{}}}}, "/gone, Not found."},
  };
  for (const auto& sheet : cases) {
    SCOPED_TRACE(sheet.lists);
    SkippedListView view(sheet.skipped, sheet.folders);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    ASSERT_EQ(QApplication::focusWidget(), view.list());
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(view.list())->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ((std::pair{focused->role(), focused->text(QAccessible::Name)}),
              (std::pair{QAccessible::ListItem, sheet.first}));
    EXPECT_TRUE(focused->state().focusable);

    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&view);
    QList<std::pair<QAccessible::Role, QString>> read{{window->role(), window->text(QAccessible::Name)}};
    widgettest::collect(*window, read);
    EXPECT_EQ(std::count_if(read.begin(), read.end(), [](const auto& node) { return node.second == "Not Read"; }), 1);
    EXPECT_EQ(read.first(), (std::pair{QAccessible::Dialog, QString("Not Read")}));
  }
}

}  // namespace
