// The folder sidebar over a real folder store in a temporary folder.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "folders/FolderChooser.h"
#include "folders/FolderListModel.h"
#include "folders/FolderListView.h"
#include "folders/FolderRowDelegate.h"
#include "folders/FolderSidebar.h"
#include "temp_tree.hpp"
#include "widget_test_support.hpp"

namespace {

using quelmaris::testing::TempTree;

QUrl folderUrl(const TempTree& tree, const std::string& name) {
  return QUrl::fromLocalFile(QString::fromStdString(tree.mkdir(name)));
}

// Answers the next modal dialog with the given step, once the event loop runs.
void answerNextDialog(const std::function<void(FolderChooser&)>& answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<FolderChooser*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
  });
}

// Chooses the named entries of a folder as a user picking them would.
void chooseEntries(FolderChooser& dialog, const QString& folder, const QStringList& names) {
  dialog.setFolder(folder);
  ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isListed(); }));
  const QAbstractItemModel& rows = *dialog.list()->model();
  for (const QString& name : names) {
    const QModelIndexList found = rows.match(rows.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    dialog.list()->selectionModel()->select(found.first(), QItemSelectionModel::Select);
  }
  dialog.acceptButton()->click();
}

class FolderSidebarTest : public ::testing::Test {
 protected:
  void SetUp() override { widgettest::application(); }
  // A fresh list of the named folders, the last one's folder removed when
  // `lastGone`, so that it loads unavailable.
  std::unique_ptr<FolderStore> storeWith(const QStringList& names, bool lastGone = false) const {
    const QString storagePath = QString::fromStdString(tree.path("data/Quelmaris/folders.json"));
    std::filesystem::remove(storagePath.toStdString());
    QList<QUrl> urls;
    for (const QString& name : names) urls.append(folderUrl(tree, name.toStdString()));
    FolderStore(storagePath).add(urls);
    if (lastGone) std::filesystem::remove(tree.path(names.last().toStdString()));
    return std::make_unique<FolderStore>(storagePath);
  }
  // Titles, priorities and tags of the rows, top to bottom.
  static QStringList rows(const QAbstractItemModel& model) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
      const QModelIndex index = model.index(row, 0);
      QString text =
          QString::number(index.data(FolderListModel::PriorityRole).toInt()) + u' ' + index.data().toString();
      if (index.data(FolderListModel::IsOriginalsRole).toBool()) text += QStringLiteral(" [Originals]");
      texts.append(text);
    }
    return texts;
  }

  void select(FolderSidebar& sidebar, const QList<int>& rowsToSelect) {
    for (int row : rowsToSelect)
      sidebar.list()->selectionModel()->select(sidebar.model()->index(row), QItemSelectionModel::Select);
  }

  TempTree tree;
};

TEST_F(FolderSidebarTest, dragging_renumbers_every_badge_of_twelve_and_several_rows_keep_their_order) {
  QStringList names;
  for (int i = 1; i <= 12; ++i) names.append("f" + QString::number(i));
  auto store = storeWith(names);
  FolderSidebar sidebar(*store, KeepChoice::oldest);
  QAbstractItemModelTester tester(sidebar.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  FolderListModel& model = *sidebar.model();
  select(sidebar, {11});
  const QUuid lastId = store->folders().last().id;

  std::unique_ptr<QMimeData> dragged(model.mimeData({model.index(11)}));
  model.dropMimeData(dragged.get(), Qt::MoveAction, 0, 0, {});

  QStringList expected{"1 f12"};
  for (int i = 1; i <= 11; ++i) expected.append(QString::number(i + 1) + " f" + QString::number(i));
  EXPECT_EQ(rows(model), expected);
  EXPECT_EQ(store->folders().first().id, lastId);
  EXPECT_EQ(sidebar.selection(), QSet<QUuid>{lastId}) << "the selection follows the folder, not the position";
  EXPECT_EQ(FolderRowDelegate::badgeHelp(1), "Priority 1: drag folders to reorder");
  // Several rows keep their order, here dropped after the last row.
  dragged.reset(model.mimeData({model.index(2), model.index(0)}));
  model.dropMimeData(dragged.get(), Qt::MoveAction, -1, -1, {});
  EXPECT_EQ(rows(model).mid(9), (QStringList{"10 f11", "11 f12", "12 f2"}));
}

// The sidebar shows on a ground of its own colour, which its rows share.
TEST_F(FolderSidebarTest,
       dropped_urls_add_only_new_folders_every_drop_is_accepted_and_row_focus_is_a_frame_never_a_selection) {
  auto store = storeWith({});
  FolderSidebar sidebar(*store, KeepChoice::oldest);
  sidebar.resize(280, 400);
  const QUrl folder = folderUrl(tree, "Photos");
  const QUrl file = QUrl::fromLocalFile(QString::fromStdString(tree.write("note.txt", "x")));
  const QColor ground(200, 220, 240);
  QPalette palette = sidebar.palette();
  palette.setColor(QPalette::Window, ground);
  sidebar.setPalette(palette);
  sidebar.setAutoFillBackground(true);
  sidebar.show();
  sidebar.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&sidebar));
  // A drop reaches a widget only after it accepted the drag's entry.
  const auto drop = [](QWidget& target, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
    return enter.isAccepted() && event.isAccepted() && event.dropAction() == Qt::CopyAction;
  };
  EXPECT_TRUE(drop(sidebar, {file, folder}));
  EXPECT_EQ(store->urls(), QList<QUrl>{folder});
  EXPECT_TRUE(drop(*sidebar.list()->viewport(), {folder}));
  EXPECT_TRUE(drop(*sidebar.list()->viewport(), {folderUrl(tree, "Music")}));
  EXPECT_EQ(store->folders().size(), 2);
  // Keyboard focus on a row shows as a frame on the column's ground, never as a selection.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(sidebar.list())->text(QAccessible::Name), "Folders");
  sidebar.addButton()->setFocus();
  QTest::keyClick(sidebar.addButton(), Qt::Key_Backtab);  // onto the first row, current and not selected
  ASSERT_TRUE(sidebar.list()->hasFocus());
  const int top = sidebar.list()->viewport()->mapTo(&sidebar, QPoint(0, 0)).y(), middle = sidebar.width() / 2;
  const QImage shown = sidebar.grab().toImage();
  EXPECT_EQ(shown.pixelColor(middle, top + 5), ground) << "the row's inside";
  EXPECT_NE(shown.pixelColor(middle, top + 1), ground) << "the focus frame";
  QTest::keyClick(sidebar.list(), Qt::Key_Tab);
  ASSERT_TRUE(sidebar.addButton()->hasFocus());
  EXPECT_TRUE(widgettest::showsFocusRing(*sidebar.addButton())) << "Add Folder shows its keyboard focus";
}

TEST_F(FolderSidebarTest,
       delete_keys_and_remove_folders_remove_the_selection_once_then_nothing_is_selected_and_delete_passes_on) {
  // Qt::Key_unknown stands for the Remove Folders command.
  for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_unknown}) {
    SCOPED_TRACE(key);
    auto store = storeWith({"a", "b", "c", "d"});
    FolderSidebar sidebar(*store, KeepChoice::oldest);
    QSignalSpy saved(store.get(), &FolderStore::foldersChanged);
    QSignalSpy published(&sidebar, &FolderSidebar::removeFoldersChanged);

    EXPECT_FALSE(sidebar.removeFolders().has_value());
    QKeyEvent unselected(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(sidebar.list(), &unselected);
    EXPECT_FALSE(unselected.isAccepted()) << "a key with nothing selected passes on";
    EXPECT_EQ(store->folders().size(), 4);

    select(sidebar, {0, 2});
    EXPECT_EQ(published.count(), 1) << "only a change between none and some selected is announced";
    QKeyEvent modified(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(sidebar.list(), &modified);
    EXPECT_FALSE(modified.isAccepted()) << "Ctrl+Backspace belongs to another command";
    EXPECT_EQ(store->folders().size(), 4);
    if (key == Qt::Key_unknown) {
      const std::optional<MenuAction> action = sidebar.removeFolders();
      ASSERT_TRUE(action.has_value());
      action->perform();
    } else {
      QKeyEvent repeated(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
      QApplication::sendEvent(sidebar.list(), &repeated);
      EXPECT_TRUE(repeated.isAccepted());
    }
    EXPECT_EQ(saved.count(), 1);
    EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 b", "2 d"}));
    EXPECT_TRUE(sidebar.selection().isEmpty());
    EXPECT_FALSE(sidebar.removeFolders().has_value());
    EXPECT_EQ(published.count(), 2);
    EXPECT_EQ(sidebar.list()->currentIndex().row(), 0) << "the folder after the first removed one is current";

    // A held key goes on repeating: it removes nothing more.
    for (int repeat = 0; repeat < 3; ++repeat) {
      QKeyEvent held(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(), true);
      QApplication::sendEvent(sidebar.list(), &held);
      EXPECT_FALSE(held.isAccepted());
    }
    EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 b", "2 d"}));
    EXPECT_EQ(saved.count(), 1);
    // The arrows go on from the current row.
    QTest::keyClick(sidebar.list(), Qt::Key_Down);
    EXPECT_EQ(sidebar.selection(), QSet<QUuid>{store->folders().last().id});
  }
}

TEST_F(FolderSidebarTest, alt_up_and_down_and_the_rows_accessible_actions_reorder_folders_as_a_drop_does) {
  auto store = storeWith({"a", "b", "c", "d"});
  FolderSidebar sidebar(*store, KeepChoice::oldest);
  select(sidebar, {1, 3});
  const QStringList steps[] = {
      {"1 b", "2 d", "3 a", "4 c"}, {"1 b", "2 d", "3 a", "4 c"}, {"1 a", "2 b", "3 d", "4 c"}};
  for (int step = 0; const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Down}) {
    QTest::keyClick(sidebar.list(), key, Qt::AltModifier);
    EXPECT_EQ(rows(*sidebar.model()), steps[step++]) << "together, before the row above or after the row below";
  }
  EXPECT_EQ(sidebar.selection().size(), 2) << "the selection follows the folders";

  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(sidebar.list());
  ASSERT_EQ(list->childCount(), 4);
  QAccessibleInterface* last = list->child(3);
  EXPECT_EQ(last->text(QAccessible::Name), "Folder 4: " + QString::fromStdString(tree.path("c")));
  EXPECT_EQ(list->child(0)->actionInterface()->actionNames(), QStringList{"Move Down"});
  EXPECT_EQ(last->actionInterface()->actionNames(), QStringList{"Move Up"});
  EXPECT_EQ(last->actionInterface()->keyBindingsForAction("Move Up"), QStringList{"Alt+Up"});
  last->actionInterface()->doAction("Move Up");
  EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 a", "2 b", "3 c", "4 d"}));
}

TEST_F(FolderSidebarTest, row_menus_offer_reconnect_only_for_unavailable_folders_and_remove_only_their_row) {
  auto store = storeWith({"a", "b", "gone"}, true);
  FolderSidebar sidebar(*store, KeepChoice::folderPriority);
  const QModelIndex gone = sidebar.model()->index(2, 0);
  EXPECT_FALSE(gone.data(FolderListModel::IsAvailableRole).toBool());
  EXPECT_EQ(gone.data(FolderListModel::SubtitleRole).toString(),
            QString::fromUtf8("Unavailable \u2014 ") + QString::fromStdString(tree.path("gone")));
  EXPECT_EQ(gone.data(Qt::AccessibleDescriptionRole).toString(), "Unavailable");
  // Texts without the access keys a menu gives its items as it opens.
  const auto describe = [](QMenu& menu) {
    QStringList items;
    for (QAction* action : menu.actions())
      items.append(action->isSeparator() ? QStringLiteral("---")
                                         : action->text().remove('&') + (action->isEnabled() ? "" : " (disabled)"));
    return items;
  };
  EXPECT_EQ(describe(*sidebar.makeRowMenu(0)), (QStringList{"Show in File Manager", "---", "Remove from List"}));
  EXPECT_EQ(describe(*sidebar.makeRowMenu(2)),
            (QStringList{QString::fromUtf8("Reconnect\u2026"), "Show in File Manager (disabled)", "---",
                         "Remove from List"}));
  EXPECT_EQ(widgettest::itemsWithoutOwnAccessKey(*sidebar.makeRowMenu(2)), QStringList());

  select(sidebar, {0, 2});
  sidebar.resize(280, 400);
  QTest::mousePress(sidebar.list()->viewport(), Qt::RightButton, {},
                    sidebar.list()->visualRect(sidebar.model()->index(1)).center());
  EXPECT_EQ(sidebar.selection().size(), 2) << "a right click opens the menu without selecting its row";
  QStringList keyed;
  QTimer::singleShot(0, &sidebar, [&] {
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      keyed = describe(*popup);
      popup->close();
    }
  });
  sidebar.list()->selectionModel()->setCurrentIndex(gone, QItemSelectionModel::NoUpdate);
  QTest::keyClick(sidebar.list(), Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(keyed, describe(*sidebar.makeRowMenu(2))) << "Shift+F10 opens the current row's menu";
  sidebar.makeRowMenu(1)->actions().last()->trigger();
  EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 a [Originals]", "2 gone"}));
  EXPECT_EQ(sidebar.selection().size(), 2) << "the selection stays as it was";
  sidebar.makeRowMenu(0)->actions().last()->trigger();
  EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 gone [Originals]"})) << "an unavailable first folder keeps the tag";
}

TEST_F(
    FolderSidebarTest,
    added_folders_show_with_badges_and_the_keep_rules_originals_tag_and_reconnect_points_the_entry_at_the_chosen_one) {
  auto store = storeWith({"keep", "Photos"}, true);
  FolderSidebar sidebar(*store, KeepChoice::folderPriority);
  QAbstractItemModelTester tester(sidebar.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  for (const char* name : {"pick/Photos 2", "pick/Music", "pick/Video"}) tree.mkdir(name);
  const QString pick = QString::fromStdString(tree.path("pick"));

  answerNextDialog([](FolderChooser& dialog) { dialog.reject(); });
  sidebar.addButton()->click();
  EXPECT_EQ(store->folders().size(), 2) << "a cancelled dialog adds nothing";
  answerNextDialog([pick](FolderChooser& dialog) {
    EXPECT_EQ(dialog.acceptButton()->text(), "Add");
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Add Folder\u2026"));
    EXPECT_EQ(dialog.folder(), QDir::homePath());
    chooseEntries(dialog, pick, {"Music", "Video"});
  });
  sidebar.addButton()->click();
  EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 keep [Originals]", "2 Photos", "3 Music", "4 Video"}));
  const QModelIndex first = sidebar.model()->index(0, 0);
  EXPECT_EQ(first.data(FolderListModel::SubtitleRole).toString(), QString::fromStdString(tree.path("keep")));
  EXPECT_EQ(first.data(Qt::AccessibleTextRole).toString(), "Folder 1: " + QString::fromStdString(tree.path("keep")));
  EXPECT_EQ(first.data(Qt::AccessibleDescriptionRole).toString(), "Originals");

  QString title;
  answerNextDialog([&title, pick](FolderChooser& dialog) {
    title = dialog.windowTitle();
    dialog.setFolder(pick + "/Music");
    dialog.activateWindow();
    dialog.list()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.list()->hasFocus(); }));
    QTest::keyClick(dialog.list(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(dialog.folder(), pick) << "Alt+Up goes to the enclosing folder";
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.isListed(); }));
    dialog.list()->setCurrentIndex(dialog.list()->model()->index(0, 0));
    QTest::keyClick(dialog.list(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(dialog.folder(), pick + "/Music") << "Alt+Down enters the current folder";
    chooseEntries(dialog, pick, {"Photos 2"});
  });
  sidebar.makeRowMenu(1)->actions().first()->trigger();
  EXPECT_EQ(title, QString::fromUtf8("Choose the new location of \u201CPhotos\u201D."));
  EXPECT_TRUE(sidebar.model()->index(1).data(FolderListModel::IsAvailableRole).toBool());
  EXPECT_EQ(sidebar.model()->index(1).data().toString(), "Photos 2");

  sidebar.setKeep(KeepChoice::oldest);
  EXPECT_EQ(rows(*sidebar.model()), (QStringList{"1 keep", "2 Photos 2", "3 Music", "4 Video"}));
  EXPECT_EQ(first.data(Qt::AccessibleDescriptionRole).toString(), "");
}

}  // namespace
