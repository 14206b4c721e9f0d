// The folder sidebar's rows: one per watched folder, in priority order. The
// model follows FolderStore by turning each change of its list into row
// removals, moves, insertions and data changes, so that the selection and a
// drag follow the folder, not the position. Dragging rows hands the store
// the source offsets and the destination offset. Main thread only.
#pragma once

#include <QAbstractListModel>
#include <QList>

#include "folders/FolderStore.h"
#include "scan/ScanOptions.h"

class FolderListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role {
    SubtitleRole = Qt::UserRole + 1,
    PriorityRole,     // index + 1
    IsAvailableRole,  // the bookmark resolved
    IsOriginalsRole,  // the first folder under the keep rule that keeps its copies
    IdRole,           // QUuid
    PathRole,         // the stored path, in full
    // The folder's file system has not answered yet: unavailable until it does.
    IsNotRespondingRole,
  };

  // The mime type of dragged rows: their offsets, ascending.
  static const QString rowsMimeType;

  FolderListModel(FolderStore& folders, KeepChoice keep, QObject* parent = nullptr);

  void setKeep(KeepChoice keep);

  // The folder shown in a row as it stands in the store.
  const WatchedFolder& folder(int row) const { return rows_.at(row); }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDropActions() const override;
  Qt::DropActions supportedDragActions() const override;
  bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                       const QModelIndex& parent) const override;
  bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                    const QModelIndex& parent) override;

 private:
  void followStore();
  void removeRowsGone(const QList<WatchedFolder>& next);
  void moveRowsIntoOrder(const QList<WatchedFolder>& next);
  void insertRowsNew(const QList<WatchedFolder>& next);
  int rowOf(const QUuid& id) const;
  bool isOriginals(int row) const;
  QString accessibleValue(int row) const;

  FolderStore& folders_;
  KeepChoice keep_;
  QList<WatchedFolder> rows_;
};
