// The main window's left column: the watched folders in priority order under
// the heading "Folders", then "Add Folder…". Folders are added with the open
// dialog (which opens in the home folder) or by dropping them anywhere on
// the column (a copy for the drag source, never a move), reordered by dragging
// rows or with Alt+Up and Alt+Down, and removed with the row menu or the
// Delete keys; an unavailable folder can be reconnected. Every change goes
// through FolderStore. While rows are selected the sidebar publishes
// removeFolders for the menu bar. Main thread only.
#pragma once

#include <QSet>
#include <QUuid>
#include <QWidget>
#include <memory>
#include <optional>

#include "folders/FolderStore.h"
#include "scan/ScanOptions.h"
#include "shell/MenuAction.h"

class FolderListModel;
class FolderListView;
class FolderChooser;
class QMenu;
class QPushButton;

class FolderSidebar final : public QWidget {
  Q_OBJECT

 public:
  FolderSidebar(FolderStore& folders, KeepChoice keep, QWidget* parent = nullptr);

  // The keep rule of the current scan options: folderPriority marks the
  // first folder as the originals.
  void setKeep(KeepChoice keep);

  // Runs the open dialog for adding folders (several at once) and adds what
  // was chosen; a cancelled dialog adds nothing. Shared with the "Add
  // Folder…" menu command and the empty state.
  static void chooseFolders(FolderStore& folders, QWidget* parent = nullptr);
  // A dialog that chooses folders only, its accept button reading "Add".
  static std::unique_ptr<FolderChooser> makeOpenPanel(bool allowsMultipleSelection, QWidget* parent = nullptr);
  // "Choose the new location of “Photos”." for a folder at …/Photos.
  static QString reconnectMessage(const QString& path);

  // Present exactly while rows are selected; removes the rows selected when
  // it is performed and leaves nothing selected, the folder that followed the
  // first of them being the current row.
  std::optional<MenuAction> removeFolders();
  // The ids of the selected rows.
  QSet<QUuid> selection() const;

  // The context menu of a row, as a right click opens it.
  std::unique_ptr<QMenu> makeRowMenu(int row);

  FolderListView* list() const { return list_; }
  FolderListModel* model() const { return model_; }
  QPushButton* addButton() const { return add_; }

 signals:
  // The selection became empty or stopped being empty.
  void removeFoldersChanged();

 protected:
  bool event(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void removeSelection();
  void reconnect(const WatchedFolder& folder);
  void showRowMenu(const QPoint& position);

  FolderStore& folders_;
  FolderListModel* model_;
  FolderListView* list_;
  QPushButton* add_;
  bool hadSelection_ = false;
};
