// The toolbar as keyboard and assistive technology reach it: the Options
// popover opened through the button's accessible actions, inside the window
// and with its controls in the accessibility tree, and the Scan button's focus
// ring.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "folders/FolderStore.h"
#include "interface/CoreTrashPlanner.h"
#include "scan/ScanStore.h"
#include "scripted_scanner.hpp"
#include "shell/MainWindow.h"
#include "shell/ScanOptionsBinding.h"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"

namespace {

// The roles and names below an interface, depth first.
void collect(QAccessibleInterface& node, QList<std::pair<QAccessible::Role, QString>>& found) {
  for (int index = 0; index < node.childCount(); ++index) {
    QAccessibleInterface* child = node.child(index);
    found.append({child->role(), child->text(QAccessible::Name)});
    collect(*child, found);
  }
}

class MainToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(window.minimumSize());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QApplication& application = widgettest::application();
  QTemporaryDir storage;
  FolderStore folders{storage.filePath(QStringLiteral("folders.json"))};
  ScanStore scan{std::make_shared<apptest::ScriptedScanner>()};
  ScanOptions stored;
  ScanOptionsBinding options{[this] { return stored; }, [this](const ScanOptions& o) { stored = o; }};
  TrashService trash{std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>()};
  MainWindow window{folders, scan, trash, options};
  QToolBar& toolBar = *window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
  QToolButton& optionsButton = *window.findChild<QToolButton*>(QStringLiteral("optionsButton"));
};

TEST_F(MainToolBarTest,
       either_accessible_action_opens_the_options_inside_the_window_and_keyboard_focus_alone_rings_the_scan_button) {
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(&toolBar);
  EXPECT_FALSE(bar->text(QAccessible::Name).isEmpty()) << "the toolbar has a name";
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&optionsButton);
  QWidget* popover = window.findChild<QWidget*>(QStringLiteral("optionsPopover"));
  for (const QString& action :
       {QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()}) {
    SCOPED_TRACE(action.toStdString());
    ASSERT_TRUE(button->actionInterface()->actionNames().contains(action));
    button->actionInterface()->doAction(action);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popover));
    EXPECT_TRUE(button->state().expanded);
    EXPECT_TRUE(window.geometry().contains(popover->geometry()));
    EXPECT_EQ(popover->geometry().right(), optionsButton.mapToGlobal(optionsButton.rect().bottomRight()).x())
        << "at the smallest window the popover ends at the button";
    EXPECT_TRUE(popover->isAncestorOf(QApplication::focusWidget())) << "the keyboard lands in the popover";

    QList<std::pair<QAccessible::Role, QString>> found;
    collect(*bar, found);
    EXPECT_TRUE(found.contains(std::pair{QAccessible::CheckBox, QStringLiteral("Verify Content")}));
    EXPECT_EQ(
        std::count_if(found.begin(), found.end(), [](const auto& node) { return node.first == QAccessible::ComboBox; }),
        2);
    widgettest::saveScreenshot(*popover, QStringLiteral("options-popover-open"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
  }
  // Keyboard focus rings the Scan button, a click does not.
  folders.add({QUrl::fromLocalFile(storage.path())});
  auto& scanButton = *window.findChild<QPushButton*>(QStringLiteral("scanButton"));
  scanButton.setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(widgettest::showsFocusRing(scanButton));
  widgettest::saveScreenshot(window, QStringLiteral("scan-button-focus"));
  optionsButton.setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(widgettest::showsFocusRing(scanButton));
  scanButton.setFocus(Qt::MouseFocusReason);
  EXPECT_FALSE(widgettest::showsFocusRing(scanButton));
}

}  // namespace
