// The single main window: the folder sidebar beside a detail area that
// follows the scan's state (the empty state when idle, the progress card
// while scanning, the results when finished, the failure and its message
// when the scan could not run), the title from the folder list, the toolbar,
// the menus, the window's undo stack, which moves to the Trash register
// their undo with, and the Trash's sheets that outlast the results. A change
// of the folder list while a scan runs or its results are shown stops the
// scan and discards them. When the detail changes, the keyboard focus that
// was in it (or in its toolbar items, or nowhere) goes to the next detail's
// focus proxy (the results table, the progress card, the empty state's
// button); so does focus the user left where a scan started from once its
// results show, unless it is on the Scan button; focus the user moved
// elsewhere stays where it is. It opens where and as large as
// it was when last closed (1280 × 760 the first time). Main thread only.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "shell/ApplicationCommands.h"

class FolderStore;
class MainToolBar;
class QSplitter;
class QUndoStack;
class ResultsCommands;
class ScanOptionsBinding;
class ScanStore;
class TrashReports;
class TrashService;

class MainWindow final : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(FolderStore& folders, ScanStore& scan, TrashService& trash, ScanOptionsBinding& options,
             const ApplicationCommands& commands = {}, QWidget* parent = nullptr);

  // "Duplicates" for no folder, the folder's name for one, the count for more.
  QString windowTitleText() const;
  // One text per listed folder: its id, its path and whether it is available.
  QStringList folderSignature() const;
  // The open dialog that adds folders, used by every "Add Folder…".
  void chooseFolders();
  QUndoStack& undoStack() const { return *undoStack_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* makeDetail();
  QWidget* makeFailedDetail(const QString& message);
  void showDetail();
  bool detailHoldsKeyboard() const;
  bool resultsTakeKeyboard() const;
  void foldersChanged();

  FolderStore& folders_;
  ScanStore& scan_;
  TrashService& trash_;
  ScanOptionsBinding& options_;
  QUndoStack* undoStack_;
  ResultsCommands* commands_;
  TrashReports* trashReports_;
  MainToolBar* toolBar_ = nullptr;
  QSplitter* split_;
  QWidget* detail_ = nullptr;
  std::size_t detailCase_ = 0;
  // Where the keyboard was once the running scan's detail showed.
  QPointer<QWidget> keyboardAtScanStart_;
  QStringList signature_;
  // A stored place was restored and waits to be fitted with the real decoration.
  bool placeOnShow_ = false;
};
