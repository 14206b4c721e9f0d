#include "shell/EditMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "platform/MainThread.h"

QMenu* buildEditMenu(QMenuBar& bar, std::function<void()> showSettings) {
  requireMainThread();
  QMenu* menu = bar.addMenu(QCoreApplication::translate("EditMenu", "&Edit"));
  menu->setObjectName(QStringLiteral("editMenu"));

  menu->addSeparator();
  QAction* settings = menu->addAction(QCoreApplication::translate("EditMenu", "Settings…"));
  settings->setObjectName(QStringLiteral("settingsAction"));
  // The desktop's standard key for this is empty on some platforms.
  settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
  settings->setMenuRole(QAction::PreferencesRole);
  QObject::connect(settings, &QAction::triggered, menu, [showSettings = std::move(showSettings)] {
    requireMainThread();
    showSettings();
  });
  return menu;
}
