// The main window as a screen reader hears it, on a display that a window
// manager runs, in a session whose accessibility bus the application joins.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <functional>
#include <memory>

#include "inspector/InspectorView.h"
#include "results/MovedBanner.h"
#include "results/QuickLookPreview.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "screen_reader_session.hpp"
#include "scripted_main_window.hpp"
#include "trash/TrashConfirmationSheet.h"
#include "window_manager_display.hpp"

namespace {

class ScreenReaderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!apptest::WindowManagerDisplay::available() || !apptest::ScreenReaderSession::available()) return;
    display_ = std::make_unique<apptest::WindowManagerDisplay>();
    session_ = std::make_unique<apptest::ScreenReaderSession>();
    // The desktop's own platform, even in a run that chose the offscreen one for the others.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  static void TearDownTestSuite() {
    session_.reset();
    display_.reset();
  }
  // Results of two sets, the inspector shown, in the active window.
  void SetUp() override {
    if (session_ == nullptr) GTEST_SKIP() << "Xvfb, openbox, D-Bus or the accessibility bus is not installed";
    main_ = std::make_unique<apptest::ScriptedMainWindow<apptest::TakingEveryFile>>();
    ASSERT_TRUE(apptest::FocusAnnouncements::listened());
    QSettings().setValue("showsInspector", true);
    main_->window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main_->window));
    view = main_->showResultsOfTwoSets();
    ASSERT_NE(view, nullptr);
  }
  void TearDown() override { main_.reset(); }

  static inline std::unique_ptr<apptest::WindowManagerDisplay> display_;
  static inline std::unique_ptr<apptest::ScreenReaderSession> session_;
  std::unique_ptr<apptest::ScriptedMainWindow<apptest::TakingEveryFile>> main_;
  ResultsView* view = nullptr;
};

// The keyboard coming back to the results (from "Keep This Copy", from a
// side window that closes, from the Move to Trash button a move disables,
// from nowhere) was told as the "Results" tree alone, the row left unsaid
// until an arrow was pressed: the current row is told, as arrowing onto it
// tells it, the first when none is current.
TEST_F(ScreenReaderTest, the_results_taking_the_keyboard_announce_their_current_row) {
  MainWindow& window = main_->window;
  ScanStore& scan = main_->scan;
  ResultsTable& table = *view->table();
  const QModelIndex firstSet = table.model()->index(0, 0), copy = table.model()->index(2, 0, firstSet);
  const auto press = [](Qt::Key key) { QTest::keyClick(QApplication::focusWindow(), key); };
  const auto selectCopy = [&] {
    table.expandAll();
    table.selectionModel()->setCurrentIndex(copy, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  };
  // What moving onto the current row tells.
  const auto currentRow = [&] {
    if (!table.currentIndex().isValid()) return std::pair(QAccessible::NoRole, QString("no current row"));
    const QPoint middle = table.viewport()->mapToGlobal(table.visualRect(table.currentIndex()).center());
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(&table)->childAt(middle.x(), middle.y());
    return std::pair(row->role(), row->text(QAccessible::Name));
  };
  const struct {
    const char* way;
    std::function<void()> arrange, comeBack;
  } cases[] = {
      {"Keep This Copy",
       [&] {
         selectCopy();
         view->inspector()->findChild<QPushButton*>("keepThisCopyButton")->setFocus(Qt::TabFocusReason);
       },
       [&] { press(Qt::Key_Space); }},
      {"the preview closing",
       [&] {
         selectCopy();
         table.setFocus(Qt::TabFocusReason);
         press(Qt::Key_Space);
         // As the user clicking into it: the desktop need not activate a window that opens.
         view->preview()->activateWindow();
         ASSERT_TRUE(
             QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == view->preview()->windowHandle(); }));
       },
       [&] { press(Qt::Key_Escape); }},
      {"a move",
       [&] {
         selectCopy();
         scan.changeSelection([&](SelectionModel& selection) { selection.setMarked(true, 1, scan.sets().at(0)); });
         window.findChild<QPushButton*>("moveToTrashButton")->setFocus(Qt::TabFocusReason);
         press(Qt::Key_Space);
         ASSERT_NE(window.findChild<TrashConfirmationSheet*>(), nullptr);
       },
       [&] {
         window.findChild<TrashConfirmationSheet*>()->findChild<QPushButton*>("confirmMoveButton")->click();
         ASSERT_TRUE(QTest::qWaitFor([&] { return view->bannerSlot()->findChild<MovedBanner*>() != nullptr; }));
       }},
      {"nowhere, no row current",
       [&] {
         table.clearFocus();
         table.selectionModel()->clear();
       },
       [&] { table.setFocus(Qt::OtherFocusReason); }},
  };
  for (const auto& coming : cases) {
    SCOPED_TRACE(coming.way);
    ASSERT_NO_FATAL_FAILURE(coming.arrange());
    apptest::FocusAnnouncements told;
    ASSERT_NO_FATAL_FAILURE(coming.comeBack());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == &table; }, 120'000));
    const auto heard = told.take();
    EXPECT_EQ(heard.isEmpty() ? std::pair(QAccessible::NoRole, QString("nothing")) : heard.last(), currentRow())
        << "told last: " << (heard.isEmpty() ? "nothing" : heard.last().second.toStdString());
  }
}

}  // namespace
