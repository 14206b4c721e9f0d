#include "results/ResultPruning.h"

#include <algorithm>

namespace {

QString canonical(const QString& path) { return path.normalized(QString::NormalizationForm_C); }

std::uint64_t freedByOthers(const QList<FileEntry>& files, qsizetype keeper) {
  std::uint64_t freed = 0;
  for (qsizetype i = 0; i < files.size(); ++i)
    if (i != keeper) freed += files[i].freedBytes.value_or(0);
  return freed;
}

}  // namespace

MovedPaths::MovedPaths(const QSet<QString>& paths) {
  paths_.reserve(paths.size());
  for (const QString& path : paths) paths_.insert(canonical(path));
}

bool MovedPaths::contains(const QString& path) const { return paths_.contains(canonical(path)); }

std::optional<DuplicateSet> pruneSet(const DuplicateSet& set, const MovedPaths& moved) {
  const auto isMoved = [&moved](const FileEntry& file) { return moved.contains(file.path); };
  if (std::none_of(set.files.cbegin(), set.files.cend(), isMoved)) return set;

  QList<FileEntry> remaining;
  std::optional<qsizetype> keeper;
  for (qsizetype i = 0; i < set.files.size(); ++i) {
    if (isMoved(set.files[i])) continue;
    if (i == static_cast<qsizetype>(set.suggestedKeep)) keeper = remaining.size();
    remaining.append(set.files[i]);
  }
  if (remaining.size() < 2 || !keeper) return std::nullopt;

  DuplicateSet pruned = set;
  pruned.reclaimable = freedByOthers(remaining, *keeper);
  pruned.files = std::move(remaining);
  pruned.suggestedKeep = static_cast<std::uint32_t>(*keeper);
  return pruned;
}

PrunedSets pruneSets(const QList<DuplicateSet>& sets, const MovedPaths& moved) {
  PrunedSets result;
  result.sets.reserve(sets.size());
  for (const DuplicateSet& set : sets) {
    std::optional<DuplicateSet> pruned = pruneSet(set, moved);
    if (!pruned) {
      result.changed = true;
    } else {
      result.changed = result.changed || pruned->files.size() != set.files.size();
      result.sets.append(std::move(*pruned));
    }
  }
  return result;
}
