// The main window walked with Tab and Shift+Tab alone, over results with a
// count of what was not read and the banner of a move to the Trash.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "app_test_support.hpp"
#include "folders/FolderStore.h"
#include "interface/CoreTrashPlanner.h"
#include "results/MovedBanner.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "scan/ScanStore.h"
#include "scripted_main_window.hpp"
#include "shell/MainWindow.h"
#include "shell/ScanOptionsBinding.h"
#include "temp_tree.hpp"
#include "trash/TrashConfirmationSheet.h"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"

namespace {

using quelmaris::testing::TempTree;

class KeyboardWalkTest : public ::testing::Test, protected apptest::ScriptedMainWindow<apptest::TakingEveryFile> {
 protected:
  void SetUp() override {
    QSettings().setValue("showsInspector", true);
    window.show();
    view = showResultsOfTwoSets();
    ASSERT_NE(view, nullptr);
  }

  // What a screen reader says of the widget that holds the keyboard.
  static QString keyboard() {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) return QStringLiteral("nothing");
    const QString name = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
    return name.isEmpty() ? QString::fromLatin1(focus->metaObject()->className()) : name;
  }
  // The stops a key visits from the table round to it again.
  QStringList walk(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    view->table()->setFocus(Qt::OtherFocusReason);
    QStringList stops;
    for (int step = 0; step < 60; ++step) {
      QTest::keyClick(window.windowHandle(), key, modifiers);
      stops << keyboard();
      if (QApplication::focusWidget() == view->table()) break;
    }
    return stops;
  }

  ResultsView* view = nullptr;
};

// The results area in the chain: the banner, its Undo before its close
// button, then the summary row (the count of what was not read, the picker,
// one stop as a group of choices is), then the table and the bottom bar.
TEST_F(KeyboardWalkTest, tab_and_shift_tab_visit_the_same_stops_in_the_order_of_the_layout) {
  scan.changeSelection([&](SelectionModel& selection) { selection.setMarked(true, 2, scan.sets().at(0)); });
  widgettest::trigger(window, "moveToTrashAction");
  window.findChild<TrashConfirmationSheet*>()->findChild<QPushButton*>("confirmMoveButton")->click();
  ASSERT_TRUE(QTest::qWaitFor([this] { return view->bannerSlot()->findChild<MovedBanner*>() != nullptr; }));
  scan.changeSelection([&](SelectionModel& selection) { selection.setMarked(true, 2, scan.sets().at(1)); });
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  const QStringList forward = walk(Qt::Key_Tab, {});
  QStringList backward = walk(Qt::Key_Backtab, Qt::ShiftModifier);
  std::reverse(backward.begin(), backward.end() - 1);
  const auto path = [](const QStringList& stops) { return stops.join(" → ").toStdString(); };
  EXPECT_EQ(path(backward), path(forward)) << "the same stops, the other way round";
  EXPECT_EQ(path(forward.mid(0, 2)), "Select → Move to Trash…");
  EXPECT_EQ(path(forward.mid(forward.indexOf("Inspector"))),
            "Inspector → Undo → Close → 2 not read → Duplicates → Results");
}

// The name of the item a screen reader finds current in the menu that the
// action pops up: "nothing" when no item is, "no menu" when none opens.
std::string currentItemWhile(const std::function<void()>& open) {
  QString current = QStringLiteral("no menu");
  // Fires in the open menu's own event loop; gone with the function when no menu opens.
  QTimer probe;
  probe.setSingleShot(true);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    current = QStringLiteral("nothing");
    QAccessibleInterface* items = QAccessible::queryAccessibleInterface(menu);
    for (int index = 0; index < items->childCount(); ++index)
      if (items->child(index)->state().focused) current = items->child(index)->text(QAccessible::Name);
    menu->close();
  });
  probe.start(0);
  open();
  return current.toStdString();
}

TEST_F(KeyboardWalkTest, the_select_menu_opened_from_the_keyboard_has_its_first_item_current) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* select = window.findChild<QPushButton*>("selectMenuButton");
  select->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(currentItemWhile([&] { QTest::keyClick(window.windowHandle(), Qt::Key_Space); }), "All Copies");
  EXPECT_EQ(currentItemWhile([&] { QTest::mouseClick(select, Qt::LeftButton); }), "nothing")
      << "the mouse points at the item it wants";
}

}  // namespace
