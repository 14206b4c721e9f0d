#include "scan/SelectionModel.h"

#include <QSet>
#include <algorithm>

namespace {

bool inRange(std::int64_t index, const DuplicateSet& set) { return index >= 0 && index < set.files.size(); }

// The file at a stored index, or none when the set is not the one the index
// was stored for.
const FileEntry* fileAt(const DuplicateSet& set, std::int64_t index) {
  return inRange(index, set) ? &set.files[static_cast<qsizetype>(index)] : nullptr;
}

// Whether a marked copy may share blocks with files other than the keeper,
// so that freeing it with another such copy could free less than their sum.
bool sharesBeyondKeeper(const FileEntry& copy, const FileEntry* kept) {
  if (!copy.mayShareBlocks) return false;
  const bool cloneOfKeeper = kept && copy.cloneId && kept->cloneId && *copy.cloneId == *kept->cloneId;
  return !cloneOfKeeper;
}

}  // namespace

SelectionModel::SelectionModel(const QList<DuplicateSet>& sets, bool verified, Marking initial)
    : allowsUnverified_(!verified) {
  keepers_.reserve(sets.size());
  for (const DuplicateSet& set : sets) keepers_.insert(set.id, set.suggestedKeep);
  applyMarking(initial, sets);
}

std::int64_t SelectionModel::keeper(const DuplicateSet& set) const {
  const auto found = keepers_.constFind(set.id);
  return found != keepers_.cend() ? *found : static_cast<std::int64_t>(set.suggestedKeep);
}

bool SelectionModel::markingAllowed(const DuplicateSet& set) const { return set.verified || allowsUnverified_; }

bool SelectionModel::canMark(std::int64_t index, const DuplicateSet& set) const {
  return inRange(index, set) && index != keeper(set) && markingAllowed(set);
}

void SelectionModel::applyMarking(Marking marking, const QList<DuplicateSet>& sets) {
  for (const DuplicateSet& set : sets) {
    Marks marks;
    if (marking != Marking::deselectAll && markingAllowed(set)) {
      const std::int64_t kept = keeper(set);
      for (qsizetype index = 0; index < set.files.size(); ++index) {
        const bool outside = set.files[index].rootIndex != 0;
        if (index != kept && (marking == Marking::selectAllCopies || outside)) marks.insert(index);
      }
    }
    storeMarks(marked_, set.id, std::move(marks));
  }
}

void SelectionModel::setMarked(bool on, std::int64_t index, const DuplicateSet& set) {
  if (!on) {
    unmark(set.id, index);
    return;
  }
  if (canMark(index, set)) marked_[set.id].insert(index);
}

void SelectionModel::keep(std::int64_t index, const DuplicateSet& set) {
  if (!inRange(index, set)) return;
  keepers_.insert(set.id, index);
  unmark(set.id, index);
}

void SelectionModel::storeMarks(MarkedCopies& marked, std::uint64_t id, Marks marks) {
  if (marks.isEmpty())
    marked.remove(id);
  else
    marked.insert(id, std::move(marks));
}

void SelectionModel::unmark(std::uint64_t id, std::int64_t index) {
  const auto present = marked_.constFind(id);
  if (present == marked_.cend() || !present->contains(index)) return;
  const auto found = marked_.find(id);
  found->remove(index);
  if (found->isEmpty()) marked_.erase(found);
}

void SelectionModel::addToTotals(Totals& totals, const DuplicateSet& set, const Marks& marks) const {
  if (!set.verified) ++totals.unverifiedSets;
  const FileEntry* kept = fileAt(set, keeper(set));
  int shared = 0;
  for (const std::int64_t index : marks) {
    const FileEntry* copy = fileAt(set, index);
    if (!copy) continue;
    ++totals.files;
    if (!copy->freedBytes) {
      totals.estimated = true;
    } else {
      totals.freedBytes += *copy->freedBytes;
      if (*copy->freedBytes == 0) ++totals.freeingNothing;
    }
    if (sharesBeyondKeeper(*copy, kept)) ++shared;
  }
  if (shared > 1) totals.estimated = true;
}

SelectionModel::Totals SelectionModel::totals(const QList<DuplicateSet>& sets) const {
  Totals totals;
  for (const DuplicateSet& set : sets) {
    const auto found = marked_.constFind(set.id);
    if (found != marked_.cend()) addToTotals(totals, set, *found);
  }
  return totals;
}

SelectionModel::Totals SelectionModel::totals(const QList<DuplicateSet>& sets,
                                              const std::function<qsizetype(std::uint64_t)>& position) const {
  Totals totals;
  for (auto it = marked_.cbegin(); it != marked_.cend(); ++it) {
    const qsizetype at = position(it.key());
    if (at >= 0 && at < sets.size()) addToTotals(totals, sets[at], it.value());
  }
  return totals;
}

QList<PlanSet> SelectionModel::planSets(const QList<DuplicateSet>& sets) const {
  QList<PlanSet> plan;
  for (const DuplicateSet& set : sets) {
    const auto found = marked_.constFind(set.id);
    if (found == marked_.cend()) continue;
    QList<std::uint32_t> indices;
    indices.reserve(found->size());
    // Marks are kept ascending, the order the plan asks for.
    for (const std::int64_t index : *found) indices.append(static_cast<std::uint32_t>(index));
    plan.append(PlanSet{set.id, set.files, static_cast<std::uint32_t>(keeper(set)), indices, set.verified});
  }
  return plan;
}

void SelectionModel::remap(const QList<DuplicateSet>& oldSets, const QList<DuplicateSet>& newSets) {
  QHash<std::uint64_t, const DuplicateSet*> oldById;
  oldById.reserve(oldSets.size());
  for (const DuplicateSet& set : oldSets)
    if (!oldById.contains(set.id)) oldById.insert(set.id, &set);

  Keepers keepers;
  MarkedCopies marked;
  for (const DuplicateSet& set : newSets) {
    const auto old = oldById.constFind(set.id);
    const Carried carried = old == oldById.cend() ? Carried{set.suggestedKeep, {}} : carriedOver(**old, set);
    keepers.insert(set.id, carried.keeper);
    storeMarks(marked, set.id, carried.marks);
  }
  keepers_ = std::move(keepers);
  marked_ = std::move(marked);
}

SelectionModel::Carried SelectionModel::carriedOver(const DuplicateSet& oldSet, const DuplicateSet& newSet) const {
  const FileEntry* oldKeeper = fileAt(oldSet, keeper(oldSet));
  std::int64_t newKeeper = newSet.suggestedKeep;
  if (oldKeeper) {
    const auto same = std::find_if(newSet.files.cbegin(), newSet.files.cend(),
                                   [&](const FileEntry& file) { return file.path == oldKeeper->path; });
    if (same != newSet.files.cend()) newKeeper = same - newSet.files.cbegin();
  }

  QSet<QString> markedPaths;
  const auto oldMarks = marked_.constFind(oldSet.id);
  if (oldMarks != marked_.cend())
    for (const std::int64_t index : *oldMarks)
      if (const FileEntry* file = fileAt(oldSet, index)) markedPaths.insert(file->path);

  Marks marks;
  for (qsizetype index = 0; index < newSet.files.size(); ++index)
    if (index != newKeeper && markedPaths.contains(newSet.files[index].path)) marks.insert(index);
  return Carried{newKeeper, marks};
}
