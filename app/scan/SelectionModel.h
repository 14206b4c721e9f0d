// The user's decisions after a scan: the kept copy of each duplicate set and
// the copies marked for the Trash. A plain value on the main thread; no
// operation fails. Every operation keeps the keeper unmarked and every stored
// index inside its set's files, so requests that would break that are ignored.
#pragma once

#include <QHash>
#include <QList>
#include <cstdint>
#include <functional>

#include "scan/IndexSet.h"
#include "interface/QuelmarisCore.h"

class SelectionModel {
 public:
  // The bulk marking commands.
  enum class Marking : std::uint8_t { deselectAll, selectAllCopies, selectOutsideFirstFolder };

  // What a marking would do, shown before anything moves.
  struct Totals {
    std::int64_t files = 0;
    std::uint64_t freedBytes = 0;
    bool estimated = false;
    std::int64_t freeingNothing = 0;
    std::int64_t unverifiedSets = 0;
    bool operator==(const Totals&) const = default;
  };

  using Keepers = QHash<std::uint64_t, std::int64_t>;
  using Marks = IndexSet;
  using MarkedCopies = QHash<std::uint64_t, Marks>;

  // No keepers, no marks, nothing unverified allowed.
  SelectionModel() = default;
  // Each set keeps its suggested copy, then the marking is applied to all.
  // Copies of unverified sets may be marked only when the scan did not verify.
  SelectionModel(const QList<DuplicateSet>& sets, bool verified, Marking initial = Marking::deselectAll);

  const Keepers& keepers() const { return keepers_; }
  const MarkedCopies& marked() const { return marked_; }
  bool allowsUnverified() const { return allowsUnverified_; }

  // The kept copy: the user's choice, else the set's suggested copy.
  std::int64_t keeper(const DuplicateSet& set) const;
  // Whether the copy may be marked: inside the set, not the keeper, and the
  // set verified or unverified sets allowed.
  bool canMark(std::int64_t index, const DuplicateSet& set) const;

  // Replaces the marks of every listed set; other sets keep theirs.
  void applyMarking(Marking marking, const QList<DuplicateSet>& sets);
  void setMarked(bool on, std::int64_t index, const DuplicateSet& set);
  // Makes the copy the keeper and unmarks it; the previous keeper stays unmarked.
  void keep(std::int64_t index, const DuplicateSet& set);

  Totals totals(const QList<DuplicateSet>& sets) const;
  // The same totals, visiting only the sets with marks: position gives a
  // set id's place in the list, -1 for none.
  Totals totals(const QList<DuplicateSet>& sets, const std::function<qsizetype(std::uint64_t)>& position) const;
  // One plan set per set with marks, in list order, marks ascending.
  QList<PlanSet> planSets(const QList<DuplicateSet>& sets) const;
  // Carries keepers and marks over to changed sets by file path, so that
  // they survive the shifting of indices when files leave a set.
  void remap(const QList<DuplicateSet>& oldSets, const QList<DuplicateSet>& newSets);

  bool operator==(const SelectionModel&) const = default;

 private:
  // A set's keeper and marks after its files changed.
  struct Carried {
    std::int64_t keeper;
    Marks marks;
  };

  // A set without marks has no entry, so that the totals and the plan look
  // up only the sets with marks, and equal markings are equal values.
  static void storeMarks(MarkedCopies& marked, std::uint64_t id, Marks marks);
  void unmark(std::uint64_t id, std::int64_t index);
  void addToTotals(Totals& totals, const DuplicateSet& set, const Marks& marks) const;
  bool markingAllowed(const DuplicateSet& set) const;
  Carried carriedOver(const DuplicateSet& oldSet, const DuplicateSet& newSet) const;

  Keepers keepers_;
  MarkedCopies marked_;
  bool allowsUnverified_ = false;
};
