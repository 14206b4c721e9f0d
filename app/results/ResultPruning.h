// Taking files that were moved to the Trash out of a scan's duplicate sets.
// Works on the recorded paths only and never reads the disk. Pure functions.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

#include "interface/QuelmarisCore.h"

// The paths the moved files had before the move. Canonically equivalent
// spellings of a path are the same path; testing a file is one lookup.
class MovedPaths {
 public:
  explicit MovedPaths(const QSet<QString>& paths);
  bool contains(const QString& path) const;

 private:
  QSet<QString> paths_;
};

// A set without a moved file comes back unchanged. Otherwise the moved files
// leave it; a set left with fewer than two files or without its suggested
// copy is gone, and any other keeps its suggested copy at its new index and
// can free what its remaining other copies free (an unknown amount counting 0).
std::optional<DuplicateSet> pruneSet(const DuplicateSet& set, const MovedPaths& moved);

// Every set pruned, in the same order and not sorted again.
struct PrunedSets {
  QList<DuplicateSet> sets;
  bool changed = false;
};
PrunedSets pruneSets(const QList<DuplicateSet>& sets, const MovedPaths& moved);
