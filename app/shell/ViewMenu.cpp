#include "shell/ViewMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "platform/MainThread.h"
#include "results/ResultsCommands.h"

QMenu* buildViewMenu(QMenuBar& bar, const ResultsCommands& commands) {
  requireMainThread();
  QMenu* menu = bar.addMenu(QCoreApplication::translate("ViewMenu", "&View"));
  menu->setObjectName(QStringLiteral("viewMenu"));
  menu->addAction(commands.showDuplicates());
  menu->addAction(commands.showLookalikes());
  menu->addSeparator();
  QMenu* sortBy = menu->addMenu(QCoreApplication::translate("ViewMenu", "S&ort By"));
  sortBy->setObjectName(QStringLiteral("sortByMenu"));
  sortBy->addActions(commands.sortColumns());
  sortBy->addSeparator();
  sortBy->addAction(commands.sortAscending());
  sortBy->addAction(commands.sortDescending());
  menu->addSeparator();
  menu->addAction(commands.expandAll());
  menu->addAction(commands.collapseAll());
  menu->addSeparator();
  menu->addAction(commands.toggleInspector());
  return menu;
}
