#include "shell/FileMenu.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "platform/MainThread.h"
#include "results/ResultsCommands.h"

void buildFileMenu(QMenuBar& bar, std::function<void()> chooseFolders, const ResultsCommands& commands) {
  requireMainThread();
  QMenu* menu = bar.addMenu(QCoreApplication::translate("FileMenu", "&File"));
  menu->setObjectName(QStringLiteral("fileMenu"));

  QAction* add = menu->addAction(QCoreApplication::translate("FileMenu", "Add Folder…"));
  add->setObjectName(QStringLiteral("addFolderAction"));
  add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  QObject::connect(add, &QAction::triggered, menu, [chooseFolders = std::move(chooseFolders)] {
    requireMainThread();
    chooseFolders();
  });

  menu->addSeparator();
  menu->addAction(commands.showInFinder());
  menu->addAction(commands.quickLook());
  menu->addSeparator();
  menu->addAction(commands.moveToTrash());
  menu->addAction(commands.removeFromList());

  menu->addSeparator();
  QAction* quit = menu->addAction(QCoreApplication::translate("FileMenu", "Quit"));
  quit->setObjectName(QStringLiteral("quitAction"));
  quit->setShortcut(QKeySequence::Quit);
  quit->setMenuRole(QAction::QuitRole);
  // Quitting closes the windows as the user would, so that the main window stores its place.
  QObject::connect(quit, &QAction::triggered, qApp, &QApplication::closeAllWindows, Qt::QueuedConnection);
}
