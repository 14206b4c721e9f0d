#include "shell/ViewMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "platform/MainThread.h"
#include "results/ResultsCommands.h"

namespace {

// Whether the column shows with the window, whether the window shows or not.
bool isShown(const QWidget& sidebar) { return sidebar.isVisibleTo(sidebar.parentWidget()); }

// The item's title says what choosing it will do.
QString sidebarToggleTitle(const QWidget& sidebar) {
  return isShown(sidebar) ? QCoreApplication::translate("ViewMenu", "Hide Sidebar")
                          : QCoreApplication::translate("ViewMenu", "Show Sidebar");
}

void addSidebarToggle(QMenu& menu, QWidget& sidebar) {
  QAction* toggle = menu.addAction(sidebarToggleTitle(sidebar));
  toggle->setObjectName(QStringLiteral("toggleSidebarAction"));
  toggle->setShortcut(Qt::Key_F9);
  QObject::connect(toggle, &QAction::triggered, &sidebar, [toggle, &sidebar] {
    requireMainThread();
    sidebar.setVisible(!isShown(sidebar));
    toggle->setText(sidebarToggleTitle(sidebar));
  });
}

}  // namespace

QMenu* buildViewMenu(QMenuBar& bar, const ResultsCommands& commands, QWidget& sidebar) {
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
  addSidebarToggle(*menu, sidebar);
  menu->addAction(commands.toggleInspector());
  return menu;
}
