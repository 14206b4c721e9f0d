// The rows of the results table, read from the scan store: which sets or
// lookalike groups the filter and the query let through and in what order the
// sort comparators put them (a stable sort that starts from the store's order
// every time), the children each discloses, and the resolution of selected
// row ids back to copies and files. Ids that no longer match resolve to
// nothing. Main thread only; the caches (folded query texts, name collation
// keys, an id index) are dropped whenever the store's sets or lookalike
// groups change.
#pragma once

#include <QCollatorSortKey>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

#include "inspector/InspectedItem.h"
#include "results/ResultRow.h"
#include "results/ResultsFilter.h"
#include "scan/SelectionModel.h"

class ScanStore;

class ResultRows final : public QObject {
  Q_OBJECT

 public:
  // A copy of a duplicate set, by its position in the store's sets.
  struct Member {
    qsizetype set;
    qsizetype index;
    bool operator==(const Member&) const = default;
  };

  explicit ResultRows(const ScanStore& scan, QObject* parent = nullptr);

  // The top-level rows in display order, as positions in the store's sets
  // (duplicates) or lookalike groups (lookalikes).
  QList<qsizetype> topLevel(ResultsFilter filter, const QString& query, const QList<SortComparator>& order) const;
  // Makes the texts a query is tested against ahead of the first keystroke.
  void prepareQuery(ResultsFilter filter) const { foldedTexts(filter); }

  // A set discloses its copies in index order, then its lookalikes; a group its files.
  static qsizetype childCount(const DuplicateSet& set) { return set.files.size() + set.lookalikes.size(); }
  static ResultRow setChild(const DuplicateSet& set, qsizetype row);
  static ResultRow groupChild(const LookalikeGroup& group, qsizetype row) { return ResultRow::ofLookalike(group, row); }

  // The first position of a set or group with this id; -1 for none.
  qsizetype setPosition(std::uint64_t id) const;
  qsizetype groupPosition(std::uint64_t id) const;
  // The copy a "f" id names; none for any other id or one that matches nothing.
  std::optional<Member> member(const QString& id) const;

  std::optional<Member> selectedMember(const QSet<QString>& selection) const;
  std::optional<FileEntry> selectedFile(const QSet<QString>& selection) const;
  // The selected copies that may be marked (not kept, set verified or
  // unverified sets allowed), in set order, then index order.
  QList<Member> selectedCopies(const QSet<QString>& selection) const;
  // The totals of the store's marking over all its sets, visiting only the
  // sets with marks.
  SelectionModel::Totals markedTotals() const;
  // What the inspector shows for the selection.
  std::optional<InspectedItem> inspectedItem(const QSet<QString>& selection) const;

 private:
  void dropCaches();
  void buildIdIndex() const;
  const QList<QString>& foldedTexts(ResultsFilter filter) const;
  std::optional<FileEntry> lookalike(const QString& path) const;
  // The collation keys of the display names, made on the first sort by name.
  template <class Item>
  const std::vector<QCollatorSortKey>& nameKeys(const QList<Item>& items, std::vector<QCollatorSortKey>& keys) const;

  const ScanStore& scan_;
  mutable bool indexed_ = false;
  mutable QHash<std::uint64_t, qsizetype> setPositions_;
  mutable QHash<std::uint64_t, qsizetype> groupPositions_;
  mutable QHash<QString, const FileEntry*> lookalikes_;
  mutable QList<QString> foldedSets_;
  mutable QList<QString> foldedGroups_;
  mutable std::vector<QCollatorSortKey> setNameKeys_;
  mutable std::vector<QCollatorSortKey> groupNameKeys_;
};
