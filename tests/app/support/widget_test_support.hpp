// Helpers for the widget tests: one QApplication per test program on the
// offscreen platform (unless the environment chose another), the views'
// English plural forms installed, and a grab of a widget saved as PNG for
// looking at.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/AccessKeys.h"
#include "platform/Translations.h"

namespace widgettest {

inline QApplication& application() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Tests never reach the internet: the update service stays switched off.
    setenv("QUELMARIS_NO_UPDATES", "1", 0);
    static int argc = 1;
    static char name[] = "quelmaris_widget_test";
    static char* argv[] = {name, nullptr};
    auto* created = new QApplication(argc, argv);
    installTranslations(*created);
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

inline QString saveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("QUELMARIS_SCREENSHOTS");
  if (folder.isEmpty()) return {};
  QDir().mkpath(folder);
  const QString path = folder + u'/' + name + QStringLiteral(".png");
  widget.grab().save(path);
  return path;
}

}  // namespace widgettest
