#include "shell/EditMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

#include "platform/MainThread.h"
#include "results/ResultsCommands.h"

QMenu* buildEditMenu(QMenuBar& bar, const ResultsCommands& commands, QUndoStack& undoStack,
                     std::function<void()> showSettings) {
  requireMainThread();
  QMenu* menu = bar.addMenu(QCoreApplication::translate("EditMenu", "&Edit"));
  menu->setObjectName(QStringLiteral("editMenu"));

  // No Redo: an undone move cannot be made again.
  QAction* undo = undoStack.createUndoAction(menu, QCoreApplication::translate("EditMenu", "Undo"));
  undo->setObjectName(QStringLiteral("undoAction"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  menu->addAction(undo);

  menu->addSeparator();
  for (QAction* action : {commands.toggleMark(), commands.keepThisCopy(), commands.selectAllCopies(),
                          commands.selectOutsideFirstFolder(), commands.deselectAll()})
    menu->addAction(action);
  menu->addSeparator();
  menu->addAction(commands.filter());
  if (!showSettings) return menu;

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
