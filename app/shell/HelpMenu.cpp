#include "shell/HelpMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "platform/MainThread.h"
#include "shell/UpdateService.h"

void buildHelpMenu(QMenuBar& bar, UpdateService& updates, std::function<void()> showAbout) {
  requireMainThread();
  QMenu* menu = bar.addMenu(QCoreApplication::translate("HelpMenu", "&Help"));
  menu->setObjectName(QStringLiteral("helpMenu"));

  QAction* about = menu->addAction(QCoreApplication::translate("HelpMenu", "About Quelmaris"));
  about->setObjectName(QStringLiteral("aboutAction"));
  about->setMenuRole(QAction::AboutRole);
  QObject::connect(about, &QAction::triggered, menu, [showAbout = std::move(showAbout)] {
    requireMainThread();
    showAbout();
  });

  QAction* check = menu->addAction(QCoreApplication::translate("HelpMenu", "Check for Updates…"));
  check->setObjectName(QStringLiteral("checkForUpdatesAction"));
  check->setMenuRole(QAction::ApplicationSpecificRole);
  check->setEnabled(updates.canCheckForUpdates());
  QObject::connect(&updates, &UpdateService::canCheckForUpdatesChanged, check, &QAction::setEnabled);
  QObject::connect(check, &QAction::triggered, menu, [&updates] {
    requireMainThread();
    updates.updater().checkForUpdates();
  });
}
