// The main window's detail before any scan: the application mark, an
// invitation to add folders or to scan them, and an "Add Folder…" button,
// which takes keyboard focus given to the view.
// Folders dropped anywhere on it join the folder list; the drop is accepted
// as a copy, so that the drag source keeps its files. Main thread only.
#pragma once

#include <QWidget>
#include <functional>

class ContentUnavailableView;
class FolderStore;

class EmptyStateView final : public QWidget {
  Q_OBJECT

 public:
  // chooseFolders runs the open dialog that adds folders to the store.
  EmptyStateView(FolderStore& folders, std::function<void()> chooseFolders, QWidget* parent = nullptr);

  // At least one listed folder is available.
  bool ready() const;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void update();

  FolderStore& folders_;
  ContentUnavailableView* content_;
};
