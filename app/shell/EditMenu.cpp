#include "shell/EditMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

#include "platform/MainThread.h"
#include "shell/ResultsCommands.h"

QMenu* buildEditMenu(QMenuBar& bar, const ResultsCommands& commands, QUndoStack& undoStack) {
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
  return menu;
}
