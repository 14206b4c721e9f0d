// Helpers for the widget tests, on the offscreen platform unless the environment chose another.
#pragma once

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QImage>
#include <QMenu>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/AccessKeys.h"
#include "platform/Palette.h"
#include "platform/Translations.h"
#include "widgets/FocusStyle.h"

namespace widgettest {

// A dark desktop as Fusion draws it with a dark palette (Adwaita-dark's
// colours): QUELMARIS_PALETTE=dark gives it to every test's screenshots.
inline QPalette darkPalette() {
  QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
  dark.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
  return dark;
}

inline bool darkScreenshots() { return qEnvironmentVariable("QUELMARIS_PALETTE") == QLatin1String("dark"); }

inline QApplication& application() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Tests never reach the internet: the update service stays switched off.
    setenv("QUELMARIS_NO_UPDATES", "1", 0);
    static int argc = 1;
    static char name[] = "quelmaris_widget_test";
    static char* argv[] = {name, nullptr};
    auto* created = new QApplication(argc, argv);
    FocusStyle::install(*created);
    installTranslations(*created);
    if (darkScreenshots()) QApplication::setPalette(darkPalette());
    return created;
  }();
  return *app;
}

// The user's folders of this test program: set before anything reads a
// setting, so that nothing touches the real user's settings or folder list.
inline const QTemporaryDir& userFolders() {
  static QTemporaryDir* folders = [] {
    auto* made = new QTemporaryDir;
    setenv("XDG_CONFIG_HOME", made->filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
    setenv("XDG_DATA_HOME", made->filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);
    return made;
  }();
  return *folders;
}

// The window's action of that object name; its trigger only while enabled.
inline QAction& action(const QWidget& window, const char* name) {
  auto* found = window.findChild<QAction*>(QLatin1String(name));
  if (found == nullptr) throw std::runtime_error(std::string("no action ") + name);
  return *found;
}
inline void trigger(const QWidget& window, const char* name) {
  QAction& command = action(window, name);
  ASSERT_TRUE(command.isEnabled()) << name << " is disabled";
  command.trigger();
}

// Saves the widget as it would be painted into QUELMARIS_SCREENSHOTS (when
// set) under the given name; returns the file's path, empty when not saved.
// Screenshots are for looking at the views, not for checking them: their
// tests run only when QUELMARIS_SCREENSHOTS names a folder to write into.
#define QUELMARIS_SCREENSHOTS_ONLY()                        \
  if (qEnvironmentVariableIsEmpty("QUELMARIS_SCREENSHOTS")) \
  GTEST_SKIP() << "set QUELMARIS_SCREENSHOTS to a folder to write screenshots"

// Whether a focus ring is drawn whole around the widget.
inline bool showsFocusRing(const QWidget& widget) {
  const QWidget& parent = *widget.parentWidget();
  for (const QWidget* ring : parent.findChildren<QWidget*>(QStringLiteral("focusRing"), Qt::FindDirectChildrenOnly))
    if (ring->isVisible() && ring->geometry().contains(widget.geometry()) && parent.rect().contains(ring->geometry()))
      return true;
  return false;
}

// Gives the widget the keyboard focus as a Tab press does, in its active
// window, so that it shows its focus as it then would.
inline void focusByKeyboard(QWidget& widget) {
  QWidget& window = *widget.window();
  window.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  window.setAttribute(Qt::WA_KeyboardFocusChange);
  widget.setFocus(Qt::TabFocusReason);
}

// A pixel that changes when the control takes the keyboard focus: where it
// lies in the window, and its colour before and after.
struct FocusPixel {
  QPoint at;
  QColor surface, indicator;
};

// The pixels that differ between two paintings of an area of a window,
// where the area lies in the window.
inline std::vector<FocusPixel> changedPixels(const QImage& before, const QImage& after, const QRect& area) {
  std::vector<FocusPixel> changed;
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x)
      if (before.pixel(x, y) != after.pixel(x, y))
        changed.push_back({area.topLeft() + QPoint(x, y), before.pixelColor(x, y), after.pixelColor(x, y)});
  return changed;
}

// The pixels of an area of the control's window (in its coordinates) that
// change when the keyboard moves the focus from another widget to the
// control: the control's focus indicator.
inline std::vector<FocusPixel> focusIndicator(QWidget& control, QWidget& elsewhere, const QRect& area) {
  const auto painted = [&](QWidget& focused) {
    focusByKeyboard(focused);
    return control.window()->grab(area).toImage();
  };
  const QImage before = painted(elsewhere), after = painted(control);
  return changedPixels(before, after, area);
}

// How an indicator stands out from the surface it is drawn on: the median
// contrast ratio of its pixels with the same pixels without it, so that an
// anti-aliased rim does not decide; 1 when nothing shows.
inline double indicatorContrast(const std::vector<FocusPixel>& indicator) {
  std::vector<double> ratios;
  for (const FocusPixel& pixel : indicator) ratios.push_back(Palette::contrastRatio(pixel.indicator, pixel.surface));
  if (ratios.empty()) return 1;
  const auto middle = ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2);
  std::nth_element(ratios.begin(), middle, ratios.end());
  return *middle;
}

// Whether the indicator lines every side of the area, within the depth of
// each edge: a frame around it, not a caret or a mark on one side.
inline bool linesEverySide(const std::vector<FocusPixel>& indicator, const QRect& area, int depth) {
  const auto lines = [&](const std::function<bool(const QPoint&)>& band) {
    return std::any_of(indicator.begin(), indicator.end(), [&](const FocusPixel& pixel) { return band(pixel.at); });
  };
  return lines([&](const QPoint& at) { return at.x() < area.left() + depth; }) &&
         lines([&](const QPoint& at) { return at.x() > area.right() - depth; }) &&
         lines([&](const QPoint& at) { return at.y() < area.top() + depth; }) &&
         lines([&](const QPoint& at) { return at.y() > area.bottom() - depth; });
}

// How the control's focus indicator stands out from what it is drawn on.
inline double focusIndicatorContrast(QWidget& control, QWidget& elsewhere, const QRect& area) {
  return indicatorContrast(focusIndicator(control, elsewhere, area));
}

// Runs the check in the style's light palette, then in the dark one, and
// gives the application the palette it had back.
inline void forEachPalette(const std::function<void()>& check) {
  const QPalette desktop = QApplication::palette();
  for (const QPalette& palette : {QApplication::style()->standardPalette(), darkPalette()}) {
    QApplication::setPalette(palette);
    SCOPED_TRACE(Palette::isDark() ? "dark" : "light");
    check();
  }
  QApplication::setPalette(desktop);
}

// A widget's rectangle in its window's coordinates.
inline QRect inWindow(const QWidget& widget) { return {widget.mapTo(widget.window(), QPoint(0, 0)), widget.size()}; }

// The items of the menu and its submenus, as they are about to show, that
// have no access key or one another item of their menu has.
inline QStringList itemsWithoutOwnAccessKey(QMenu& menu) {
  emit menu.aboutToShow();
  QStringList faulty;
  QList<QChar> keys;
  for (QAction* item : menu.actions()) {
    if (item->isSeparator() || !item->isVisible()) continue;
    const QChar key = AccessKeys::of(item->text());
    if (key.isNull() || keys.contains(key)) faulty << item->text();
    keys << key;
    if (item->menu() != nullptr) faulty << itemsWithoutOwnAccessKey(*item->menu());
  }
  return faulty;
}

// The widget painted at three times its size, where even small text has solid strokes.
inline QImage paintedLarge(QWidget& widget) {
  QImage image(widget.size() * 3, QImage::Format_RGB32);
  image.setDevicePixelRatio(3);
  widget.render(&image);
  return image;
}

// How far the ink in an area of the widget stands out from the area's
// ground (the colour most of its pixels have): the contrast ratio of the
// pixel least like the ground.
inline double inkContrast(const QImage& painted, const QRect& area) {
  const QRect pixels(area.topLeft() * 3, area.size() * 3);
  QHash<QRgb, int> counts;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y)
    for (int x = pixels.left(); x <= pixels.right(); ++x) ++counts[painted.pixel(x, y)];
  QRgb ground = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    if (it.value() > counts.value(ground)) ground = it.key();
  double most = 1;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    most = std::max(most, Palette::contrastRatio(QColor(it.key()), QColor(ground)));
  return most;
}

inline QString saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("QUELMARIS_SCREENSHOTS");
  if (folder.isEmpty()) return {};
  QDir().mkpath(folder);
  const QString path =
      folder + u'/' + name + (darkScreenshots() ? QStringLiteral("-dark.png") : QStringLiteral(".png"));
  widget.grab().save(path);
  return path;
}

// The roles and names below an interface, depth first.
inline void collect(QAccessibleInterface& node, QList<std::pair<QAccessible::Role, QString>>& found) {
  for (int index = 0; index < node.childCount(); ++index) {
    QAccessibleInterface* child = node.child(index);
    found.append({child->role(), child->text(QAccessible::Name)});
    collect(*child, found);
  }
}

// Pictures a screen reader would meet below the widget with nothing to say.
inline int unnamedPictures(QWidget& widget) {
  QList<std::pair<QAccessible::Role, QString>> found;
  collect(*QAccessible::queryAccessibleInterface(&widget), found);
  return static_cast<int>(std::count_if(found.begin(), found.end(), [](const auto& node) {
    return node.first == QAccessible::Graphic && node.second.isEmpty();
  }));
}

}  // namespace widgettest
