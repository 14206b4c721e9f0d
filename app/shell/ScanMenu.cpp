#include "shell/ScanMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "folders/FolderStore.h"
#include "shell/ScanCommands.h"
#include "shell/ScanOptionsBinding.h"
#include "shell/ScanOptionsMenu.h"
#include "scan/ScanStore.h"
#include "platform/MainThread.h"
#include "trash/TrashService.h"

void buildScanMenu(QMenuBar& bar, FolderStore& folders, ScanStore& scan, const TrashService& trash,
                   ScanOptionsBinding& options) {
  requireMainThread();
  QMenu* menu = bar.addMenu(QCoreApplication::translate("ScanMenu", "&Scan"));
  menu->setObjectName(QStringLiteral("scanMenu"));

  QAction* start = menu->addAction(QCoreApplication::translate("ScanMenu", "Scan"));
  start->setObjectName(QStringLiteral("scanAction"));
  start->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  QObject::connect(start, &QAction::triggered, menu,
                   [&folders, &scan, &trash, &options] { ScanCommands::start(folders, scan, trash, options.get()); });

  QAction* stop = menu->addAction(QCoreApplication::translate("ScanMenu", "Stop"));
  stop->setObjectName(QStringLiteral("stopAction"));
  stop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
  QObject::connect(stop, &QAction::triggered, menu, [&scan] { ScanCommands::stop(scan); });

  const auto update = [&folders, &scan, &trash, start, stop] {
    start->setEnabled(ScanCommands::canStart(folders, scan, trash));
    stop->setEnabled(ScanCommands::canStop(scan));
  };
  QObject::connect(&scan, &ScanStore::stateChanged, menu, update);
  QObject::connect(&folders, &FolderStore::foldersChanged, menu, update);
  QObject::connect(&trash, &TrashService::isMovingChanged, menu, update);
  update();

  menu->addSeparator();
  ScanOptionsMenu::addItems(*menu, options);
}
