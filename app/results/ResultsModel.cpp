#include "results/ResultsModel.h"

#include <QFont>
#include <QLocale>

#include "interface/FormattedByteCount.h"
#include "platform/DateText.h"
#include "platform/Palette.h"
#include "platform/PlainToolTip.h"
#include "platform/VisibleControls.h"
#include "scan/ScanStore.h"

namespace {

// Beyond this many changed sets one layout change costs less than their rows.
constexpr qsizetype maxSignalledSets = 64;

constexpr quintptr topLevelId = 0;

bool isHeader(const ResultRow& row) {
  return row.kind == ResultRow::Kind::set || row.kind == ResultRow::Kind::lookalikeGroup;
}

}  // namespace

ResultsModel::ResultsModel(ScanStore& scan, const ResultRows& rows, QObject* parent)
    : QAbstractItemModel(parent), scan_(scan), rows_(rows), shown_(scan.selection()) {
  connect(&scan_, &ScanStore::setsChanged, this, &ResultsModel::rebuild);
  connect(&scan_, &ScanStore::lookalikesChanged, this, &ResultsModel::rebuild);
  connect(&scan_, &ScanStore::selectionChanged, this, &ResultsModel::selectionChanged);
  rebuild();
}

void ResultsModel::setFilter(ResultsFilter filter) {
  if (filter == filter_) return;
  filter_ = filter;
  rebuild();
}

void ResultsModel::setQuery(const QString& query) {
  if (query == query_) return;
  query_ = query;
  rebuild();
}

void ResultsModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columns) return;
  const SortComparator comparator{static_cast<SortKey>(column), order};
  if (!sortOrder_.isEmpty() && sortOrder_.first() == comparator) return;
  sortOrder_.removeIf([&](const SortComparator& c) { return c.key == comparator.key; });
  sortOrder_.prepend(comparator);
  rebuild();
}

void ResultsModel::rebuild() {
  beginResetModel();
  top_ = rows_.topLevel(filter_, query_, sortOrder_);
  const qsizetype count = filter_ == ResultsFilter::duplicates ? scan_.sets().size() : scan_.lookalikes().size();
  rowOfPosition_.assign(static_cast<std::size_t>(count), -1);
  for (qsizetype row = 0; row < top_.size(); ++row) rowOfPosition_[static_cast<std::size_t>(top_[row])] = int(row);
  shown_ = scan_.selection();
  endResetModel();
}

// Keepers are shared with the shown marking until an edit touches them, so
// an edit of marks alone compares only the sets with marks.
void ResultsModel::selectionChanged() {
  const SelectionModel& now = scan_.selection();
  QSet<std::uint64_t> changed;
  if (now.keepers() != shown_.keepers())
    for (auto it = now.keepers().cbegin(); it != now.keepers().cend(); ++it)
      if (shown_.keepers().value(it.key(), -1) != it.value()) changed.insert(it.key());
  for (auto it = now.marked().cbegin(); it != now.marked().cend(); ++it)
    if (shown_.marked().value(it.key()) != it.value()) changed.insert(it.key());
  for (auto it = shown_.marked().cbegin(); it != shown_.marked().cend(); ++it)
    if (!now.marked().contains(it.key())) changed.insert(it.key());
  if (now.allowsUnverified() != shown_.allowsUnverified() || changed.size() > maxSignalledSets) {
    shown_ = now;
    emit layoutAboutToBeChanged();
    emit layoutChanged();
    return;
  }
  shown_ = now;
  if (filter_ != ResultsFilter::duplicates) return;
  for (const std::uint64_t id : changed) {
    const qsizetype position = rows_.setPosition(id);
    if (position >= 0) signalSet(scan_.sets()[position]);
  }
}

void ResultsModel::signalSet(const DuplicateSet& set) {
  const int row = rowOfPosition_[static_cast<std::size_t>(rows_.setPosition(set.id))];
  if (row < 0 || set.files.isEmpty()) return;
  const QModelIndex parent = index(row, 0);
  emit dataChanged(index(0, 0, parent), index(int(set.files.size()) - 1, columns - 1, parent));
}

ResultRow ResultsModel::row(const QModelIndex& index) const {
  const bool top = index.internalId() == topLevelId;
  const qsizetype position = top_[top ? index.row() : qsizetype(index.internalId() - 1)];
  if (filter_ == ResultsFilter::duplicates) {
    const DuplicateSet& set = scan_.sets()[position];
    return top ? ResultRow::ofSet(set) : ResultRows::setChild(set, index.row());
  }
  const LookalikeGroup& group = scan_.lookalikes()[position];
  return top ? ResultRow::ofGroup(group) : ResultRows::groupChild(group, index.row());
}

std::uint64_t ResultsModel::topId(int row) const {
  const qsizetype position = top_[row];
  return filter_ == ResultsFilter::duplicates ? scan_.sets()[position].id : scan_.lookalikes()[position].id;
}

QModelIndex ResultsModel::topIndexOf(std::uint64_t id) const {
  const qsizetype position = filter_ == ResultsFilter::duplicates ? rows_.setPosition(id) : rows_.groupPosition(id);
  if (position < 0) return {};
  const int row = rowOfPosition_[static_cast<std::size_t>(position)];
  return row < 0 ? QModelIndex() : index(row, 0);
}

QModelIndex ResultsModel::indexOf(const QString& id) const {
  const qsizetype slash = id.indexOf(QLatin1Char('/'));
  const QString head = slash < 0 ? id : id.left(slash);
  bool ok = false;
  const std::uint64_t number = head.mid(1).toULongLong(&ok);
  if (!ok) return {};
  const QModelIndex parent = topIndexOf(number);
  if (!parent.isValid()) return {};
  if (slash < 0) return row(parent).id() == id ? parent : QModelIndex();
  const int children = rowCount(parent);
  for (int child = 0; child < children; ++child)
    if (row(index(child, 0, parent)).id() == id) return index(child, 0, parent);
  return {};
}

QModelIndex ResultsModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return {};
  return createIndex(row, column, parent.isValid() ? quintptr(parent.row()) + 1 : topLevelId);
}

QModelIndex ResultsModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == topLevelId) return {};
  return createIndex(int(child.internalId() - 1), 0, topLevelId);
}

int ResultsModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return int(top_.size());
  if (parent.internalId() != topLevelId || parent.column() != 0) return 0;
  const qsizetype position = top_[parent.row()];
  if (filter_ == ResultsFilter::duplicates) return int(ResultRows::childCount(scan_.sets()[position]));
  return int(scan_.lookalikes()[position].files.size());
}

int ResultsModel::columnCount(const QModelIndex&) const { return columns; }

Qt::ItemFlags ResultsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (rowCount(index) == 0 && index.internalId() != topLevelId) flags |= Qt::ItemNeverHasChildren;
  return flags;
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case nameColumn:
      return tr("Name");
    case copiesColumn:
      return tr("Copies");
    case sizeColumn:
      return tr("Size");
    case recoverableColumn:
      return tr("Recoverable");
    case createdColumn:
      return tr("Created");
    case modifiedColumn:
      return tr("Modified");
    default:
      return {};
  }
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const ResultRow row = this->row(index);
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return display(row, column);
    case Qt::AccessibleTextRole:
      return accessibleText(row, column);
    case Qt::ForegroundRole:
      return foreground(row, column);
    case Qt::ToolTipRole:
      if (column == nameColumn && !isHeader(row)) return plainToolTip(row.file()->path);
      return {};
    case Qt::FontRole:
      if (column == nameColumn && isHeader(row)) {
        QFont font;
        font.setWeight(QFont::Medium);
        return font;
      }
      return {};
    case Qt::CheckStateRole:
      if (column != nameColumn || row.kind != ResultRow::Kind::file) return {};
      return scan_.selection().marked().value(row.set->id).contains(row.index) ? Qt::Checked : Qt::Unchecked;
    case MarkLabelRole:
      if (column != nameColumn || row.kind != ResultRow::Kind::file) return {};
      return tr("Select %1 in %2").arg(row.file()->name, scan_.displayFolder(*row.file()));
    case Qt::AccessibleDescriptionRole:
      return column == nameColumn ? badgeTitles(row) : QVariant();
    case IdRole:
      return row.id();
    case KindRole:
      return int(row.kind);
    case CanMarkRole:
      return row.kind == ResultRow::Kind::file && scan_.selection().canMark(row.index, *row.set);
    case BadgesRole:
      return column == nameColumn ? QVariant::fromValue(badges(row)) : QVariant();
    case TintRole:
      return tint(row);
    case FolderIconRole:
      return !isHeader(row);
    default:
      return {};
  }
}

// The suggested keeper decides, not the user's kept copy.
bool ResultsModel::showsFreed(const ResultRow& row) const {
  const FileEntry& file = *row.file();
  return file.freedBytes && file.path != row.set->files[row.set->suggestedKeep].path;
}

QVariant ResultsModel::display(const ResultRow& row, int column) const {
  switch (column) {
    case nameColumn:
      return withVisibleControls(isHeader(row) ? row.name() : scan_.displayFolder(*row.file()));
    case copiesColumn:
      return row.copies() > 0 ? QLocale().toString(row.copies()) : QString();
    case sizeColumn:
      return formattedByteCount(row.size());
    case recoverableColumn:
      if (row.kind == ResultRow::Kind::set)
        return formattedByteCount(row.set->reclaimable, row.set->reclaimableEstimated);
      if (row.kind == ResultRow::Kind::file && showsFreed(row)) return formattedByteCount(*row.file()->freedBytes);
      return QString();
    case createdColumn:
      return abbreviatedDateTime(dateFromSeconds(row.created()));
    case modifiedColumn:
      return abbreviatedDateTime(dateFromSeconds(row.modified()));
    default:
      return {};
  }
}

QVariant ResultsModel::accessibleText(const ResultRow& row, int column) const {
  if (column == nameColumn) return row.name();
  if (column == copiesColumn && row.copies() == 0) return tr("Not applicable");
  if (column == recoverableColumn) {
    if (row.kind == ResultRow::Kind::lookalike || row.kind == ResultRow::Kind::lookalikeGroup)
      return tr("Not applicable");
    if (row.kind == ResultRow::Kind::file && !showsFreed(row)) return tr("Kept");
  }
  return display(row, column);
}

QVariant ResultsModel::foreground(const ResultRow& row, int column) const {
  if (column == recoverableColumn && row.kind == ResultRow::Kind::set) return Palette::brand();
  if (column == createdColumn || column == modifiedColumn || column == recoverableColumn)
    return Palette::secondaryText();
  if (column == nameColumn && row.kind == ResultRow::Kind::lookalike) return Palette::secondaryText();
  return {};
}

QList<Badge> ResultsModel::badges(const ResultRow& row) const {
  switch (row.kind) {
    case ResultRow::Kind::set: {
      QList<Badge> shown;
      if (!row.set->verified) shown.append({tr("Not Verified"), Palette::stateDiffers()});
      if (!row.set->lookalikes.isEmpty()) shown.append({tr("Different Content"), Palette::stateDiffers()});
      return shown;
    }
    case ResultRow::Kind::file: {
      const FileEntry& file = *row.file();
      if (scan_.selection().keeper(*row.set) == row.index) return {{tr("Keep"), Palette::stateKeep()}};
      if (file.nlink >= 2) return {{tr("Hard Link · 0 B"), Palette::stateClone()}};
      if (file.mayShareBlocks)
        return {{tr("APFS Clone · %1").arg(formattedByteCount(file.freedBytes.value_or(0))), Palette::stateClone()}};
      return {};
    }
    case ResultRow::Kind::lookalike:
      return {{tr("Different Content"), Palette::stateDiffers()}};
    case ResultRow::Kind::lookalikeGroup:
      return {};
  }
  return {};
}

QString ResultsModel::badgeTitles(const ResultRow& row) const {
  QStringList titles;
  for (const Badge& badge : badges(row)) titles.append(badge.title);
  return titles.join(QStringLiteral(", "));
}

QColor ResultsModel::tint(const ResultRow& row) const {
  if (row.kind != ResultRow::Kind::file) return {};
  const SelectionModel& selection = scan_.selection();
  if (selection.keeper(*row.set) == row.index) return Palette::stateKeepRow();
  if (selection.marked().value(row.set->id).contains(row.index)) return Palette::stateMarkedRow();
  return {};
}
