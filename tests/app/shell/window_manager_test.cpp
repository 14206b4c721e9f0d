// The main window on a display that a window manager runs, where the desktop,
// not the application, decides which window has the keyboard.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "open_dialog_typist.hpp"
#include "scripted_main_window.hpp"
#include "window_manager_display.hpp"

namespace {

class WindowManagerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!apptest::WindowManagerDisplay::available()) return;
    display_ = std::make_unique<apptest::WindowManagerDisplay>();
    // The desktop's own platform, even in a run that chose the offscreen one for the others.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  static void TearDownTestSuite() { display_.reset(); }
  void SetUp() override {
    if (display_ == nullptr) GTEST_SKIP() << "Xvfb or openbox is not installed";
    main_ = std::make_unique<apptest::ScriptedMainWindow<apptest::TakingEveryFile>>();
    main_->window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main_->window));
  }
  void TearDown() override { main_.reset(); }

  static inline std::unique_ptr<apptest::WindowManagerDisplay> display_;
  std::unique_ptr<apptest::ScriptedMainWindow<apptest::TakingEveryFile>> main_;
};

// The desktop gives the keyboard back to the main window as the dialog goes,
// possibly while its completion list is still open, when the application
// cannot take it: no control then had the focus, and Tab, Down and Delete did
// nothing, until Ctrl+O and Escape; asking the desktop again changed nothing,
// as the window had the keyboard already. Every add from the keyboard ends in
// the active main window with a control holding the keyboard.
TEST_F(WindowManagerTest, every_folder_typed_into_the_open_dialog_leaves_a_control_holding_the_keyboard) {
  MainWindow& window = main_->window;
  for (int add = 1; add <= 12; ++add) {
    SCOPED_TRACE("add " + std::to_string(add));
    const auto completing =
        apptest::typeIntoNextOpenDialog(window, QString::fromStdString(main_->tree.mkdir("f" + std::to_string(add))));
    QTest::keyClick(window.windowHandle(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(main_->folders.folders().size(), add);
    EXPECT_TRUE(*completing) << "Return was pressed with the completion list open";
    // The desktop's answer to the dialog's going comes when it comes.
    const bool active = QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }, 30'000);
    ASSERT_TRUE(active) << "the window the desktop focused: "
                        << (QGuiApplication::focusWindow() == window.windowHandle() ? "the main window" : "another");
    ASSERT_NE(QApplication::focusWidget(), nullptr);
  }
}

}  // namespace
