#include "folders/FolderListModel.h"

#include <QDataStream>
#include <QIODevice>
#include <QLocale>
#include <QMimeData>
#include <algorithm>

#include "folders/AbbreviatedPath.h"
#include "platform/LastPathComponent.h"
#include "platform/PlainToolTip.h"

namespace {

bool lists(const QList<WatchedFolder>& folders, const QUuid& id) {
  return std::any_of(folders.begin(), folders.end(), [&id](const WatchedFolder& folder) { return folder.id == id; });
}

QList<qsizetype> decodedRows(const QMimeData& data) {
  QByteArray bytes = data.data(FolderListModel::rowsMimeType);
  QDataStream stream(&bytes, QIODevice::ReadOnly);
  QList<qsizetype> rows;
  stream >> rows;
  return stream.status() == QDataStream::Ok ? rows : QList<qsizetype>();
}

}  // namespace

const QString FolderListModel::rowsMimeType = QStringLiteral("application/x-quelmaris-folder-rows");

FolderListModel::FolderListModel(FolderStore& folders, KeepChoice keep, QObject* parent)
    : QAbstractListModel(parent), folders_(folders), keep_(keep), rows_(folders.folders()) {
  connect(&folders_, &FolderStore::foldersChanged, this, &FolderListModel::followStore);
}

void FolderListModel::setKeep(KeepChoice keep) {
  if (keep == keep_) return;
  keep_ = keep;
  if (!rows_.isEmpty()) emit dataChanged(index(0), index(0));
}

int FolderListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant FolderListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const int row = index.row();
  const WatchedFolder& folder = rows_.at(row);
  switch (role) {
    case Qt::DisplayRole:
      return lastPathComponent(folder.path);
    case SubtitleRole:
      if (folder.notResponding) return tr("Not Responding \u2014 ") + abbreviatedPath(folder.path);
      return folder.isAvailable() ? abbreviatedPath(folder.path)
                                  : tr("Unavailable \u2014 ") + abbreviatedPath(folder.path);
    case PriorityRole:
      return row + 1;
    case IsAvailableRole:
      return folder.isAvailable();
    case IsNotRespondingRole:
      return folder.notResponding;
    case IsOriginalsRole:
      return isOriginals(row);
    case IdRole:
      return folder.id;
    case PathRole:
      return folder.path;
    // In full: the subtitle abbreviates the path and cuts it in the middle.
    case Qt::ToolTipRole:
      return plainToolTip(folder.path);
    case Qt::AccessibleTextRole:
      return tr("Folder %1: ").arg(row + 1) + folder.path;
    case Qt::AccessibleDescriptionRole:
      return accessibleValue(row);
    default:
      return {};
  }
}

Qt::ItemFlags FolderListModel::flags(const QModelIndex& index) const {
  // Rows are dropped between rows, never onto one.
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FolderListModel::mimeTypes() const { return {rowsMimeType}; }

QMimeData* FolderListModel::mimeData(const QModelIndexList& indexes) const {
  QList<qsizetype> rows;
  for (const QModelIndex& index : indexes)
    if (index.isValid()) rows.append(index.row());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream << rows;
  auto* data = new QMimeData;
  data->setData(rowsMimeType, bytes);
  return data;
}

// The store reorders; the view must not remove the dragged rows afterwards,
// which a move action would ask of the model.
Qt::DropActions FolderListModel::supportedDropActions() const { return Qt::MoveAction; }
Qt::DropActions FolderListModel::supportedDragActions() const { return Qt::MoveAction; }

bool FolderListModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int,
                                      const QModelIndex& parent) const {
  return data != nullptr && data->hasFormat(rowsMimeType) && !parent.isValid();
}

bool FolderListModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                   const QModelIndex& parent) {
  if (!canDropMimeData(data, action, row, column, parent)) return false;
  const QList<qsizetype> rows = decodedRows(*data);
  if (rows.isEmpty()) return false;
  folders_.move(rows, row < 0 ? rows_.size() : row);
  // Handled here entirely: the view is not to remove the source rows.
  return false;
}

void FolderListModel::followStore() {
  const QList<WatchedFolder>& next = folders_.folders();
  if (next == rows_) return;
  removeRowsGone(next);
  moveRowsIntoOrder(next);
  insertRowsNew(next);
  // Locations, availability, priorities and the "Originals" row may all have
  // changed with the list; it is short, so every row is refreshed.
  rows_ = next;
  if (!rows_.isEmpty()) emit dataChanged(index(0), index(static_cast<int>(rows_.size()) - 1));
}

void FolderListModel::removeRowsGone(const QList<WatchedFolder>& next) {
  for (int row = static_cast<int>(rows_.size()) - 1; row >= 0; --row) {
    if (lists(next, rows_.at(row).id)) continue;
    beginRemoveRows({}, row, row);
    rows_.removeAt(row);
    endRemoveRows();
  }
}

void FolderListModel::moveRowsIntoOrder(const QList<WatchedFolder>& next) {
  int target = 0;
  for (const WatchedFolder& folder : next) {
    const int from = rowOf(folder.id);
    if (from < 0) continue;
    // Earlier targets are settled, so the folder stands at or after its target.
    if (from != target) {
      beginMoveRows({}, from, from, {}, target);
      rows_.move(from, target);
      endMoveRows();
    }
    ++target;
  }
}

void FolderListModel::insertRowsNew(const QList<WatchedFolder>& next) {
  for (int row = 0; row < next.size(); ++row) {
    if (row < rows_.size() && rows_.at(row).id == next.at(row).id) continue;
    beginInsertRows({}, row, row);
    rows_.insert(row, next.at(row));
    endInsertRows();
  }
}

int FolderListModel::rowOf(const QUuid& id) const {
  const auto found =
      std::find_if(rows_.begin(), rows_.end(), [&id](const WatchedFolder& folder) { return folder.id == id; });
  return found == rows_.end() ? -1 : static_cast<int>(found - rows_.begin());
}

bool FolderListModel::isOriginals(int row) const { return row == 0 && keep_ == KeepChoice::folderPriority; }

QString FolderListModel::accessibleValue(int row) const {
  if (rows_.at(row).notResponding) return tr("Not Responding");
  if (!rows_.at(row).isAvailable()) return tr("Unavailable");
  return isOriginals(row) ? tr("Originals") : QString();
}
