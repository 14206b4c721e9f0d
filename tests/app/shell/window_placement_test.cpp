// The main window restored from a stored place that no longer suits the
// screens: two screens side by side, the primary one 1400×900.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "scripted_main_window.hpp"
#include "temp_tree.hpp"

namespace {

using quelmaris::testing::TempTree;

// The offscreen platform takes its screens from a file; set before the
// application object is made.
const TempTree screens;
const bool screensSet = [] {
  std::ofstream(screens.path("screens.json"))
      << R"({"screens": [{"name": "left", "x": 0, "y": 0, "width": 1400, "height": 900, "logicalDpi": 96,)"
      << R"( "logicalBaseDpi": 96, "dpr": 1},)"
      << R"( {"name": "right", "x": 1400, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96,)"
      << R"( "logicalBaseDpi": 96, "dpr": 1}]})";
  return ::setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.path("screens.json")).c_str(), 1) == 0;
}();

// The stored place of a window that stood at that geometry.
QByteArray storedGeometry(const QRect& geometry) {
  QWidget window;
  window.setGeometry(geometry);
  return window.saveGeometry();
}

// Whether the window, frame and title bar included, lies wholly on one screen.
bool liesOnAScreen(const QWidget& window) {
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().contains(window.frameGeometry())) return true;
  return false;
}

using Window = apptest::ScriptedMainWindow<apptest::TakingEveryFile>;

TEST(RestoredWindow, lies_on_a_screen_with_its_title_bar_in_sight_and_no_larger_than_the_screen) {
  ASSERT_TRUE(screensSet);
  widgettest::userFolders();
  widgettest::application();
  ASSERT_EQ(QGuiApplication::screens().size(), 2);
  const std::tuple<const char*, QRect, std::optional<QRect>> cases[] = {
      {"mostly off the right bottom corner", QRect(1300, 800, 300, 200), std::nullopt},
      {"larger than any screen", QRect(0, 0, 2'000'000, 2'000'000), std::nullopt},
      {"title bar above the screens", QRect(200, -40, 1000, 600), std::nullopt},
      {"far from every screen", QRect(-5000, -5000, 1000, 600), std::nullopt},
      {"where it fits, it stays", QRect(1500, 100, 1000, 600), QRect(1500, 100, 1000, 600)},
  };
  for (const auto& [name, stored, expected] : cases) {
    SCOPED_TRACE(name);
    QSettings().setValue("mainWindowGeometry", storedGeometry(stored));
    Window restored;
    restored.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&restored.window));
    EXPECT_TRUE(liesOnAScreen(restored.window))
        << restored.window.frameGeometry().x() << "," << restored.window.frameGeometry().y() << " "
        << restored.window.frameGeometry().width() << "×" << restored.window.frameGeometry().height();
    if (expected) {
      EXPECT_EQ(restored.window.geometry(), *expected);
    }
  }
}

}  // namespace
