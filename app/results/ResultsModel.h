// The results table's model: two levels over the scan store, the sets or
// lookalike groups that the filter, the query and the sort order give at the
// top, and each one's copies and lookalikes below. It keeps positions into
// the store's lists, never copies, and makes every text when a view asks for
// it. A new filter, query, sort order or list of sets resets it; a change of
// marks or kept copies only signals the changed sets' rows (many at once: one
// layout change). Check states and the mark's label answer for accessibility;
// the items are not user-checkable, so only the table decides what a click, a
// key or an assistive technology marks. The Name cell's description lists its
// badges.
// Main thread only.
#pragma once

#include <QAbstractItemModel>
#include <QColor>
#include <vector>

#include "results/Badge.h"
#include "results/ResultRows.h"
#include "scan/SelectionModel.h"

class ScanStore;

class ResultsModel final : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Column { nameColumn, copiesColumn, sizeColumn, recoverableColumn, createdColumn, modifiedColumn, columns };
  enum Role {
    IdRole = Qt::UserRole + 1,
    KindRole,
    CanMarkRole,
    BadgesRole,
    TintRole,
    FolderIconRole,
    // "Select <name> in <folder>": the label of a copy's mark.
    MarkLabelRole,
  };

  ResultsModel(ScanStore& scan, const ResultRows& rows, QObject* parent = nullptr);

  ResultsFilter filter() const { return filter_; }
  void setFilter(ResultsFilter filter);
  const QString& query() const { return query_; }
  void setQuery(const QString& query);
  const QList<SortComparator>& sortOrder() const { return sortOrder_; }
  // A header click: that column's comparator leads, the earlier ones break ties.
  void sort(int column, Qt::SortOrder order) override;

  // The row behind an index; valid until the store's lists change.
  ResultRow row(const QModelIndex& index) const;
  // The index of a row id; invalid when no shown row has it.
  QModelIndex indexOf(const QString& id) const;
  // The top-level index of a set or group id; invalid when not shown.
  QModelIndex topIndexOf(std::uint64_t id) const;
  // The set or group id of a top-level row.
  std::uint64_t topId(int row) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  void rebuild();
  void selectionChanged();
  void signalSet(const DuplicateSet& set);
  QVariant display(const ResultRow& row, int column) const;
  QVariant accessibleText(const ResultRow& row, int column) const;
  QVariant foreground(const ResultRow& row, int column) const;
  QList<Badge> badges(const ResultRow& row) const;
  QString badgeTitles(const ResultRow& row) const;
  QColor tint(const ResultRow& row) const;
  bool showsFreed(const ResultRow& row) const;

  ScanStore& scan_;
  const ResultRows& rows_;
  ResultsFilter filter_ = ResultsFilter::duplicates;
  QString query_;
  QList<SortComparator> sortOrder_{{SortKey::recoverable, Qt::DescendingOrder}};
  QList<qsizetype> top_;
  // The top-level row of each store position; -1 when it is not shown.
  std::vector<int> rowOfPosition_;
  // The marking the rows last showed, to tell which sets changed.
  SelectionModel shown_;
};
