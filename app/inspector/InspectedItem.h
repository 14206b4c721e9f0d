// What the inspector shows for the single selected row of the results: a
// duplicate set, one copy of a set (the set's file at an index that always
// lies inside it), or a file of a lookalike group. Equal when the case and
// the whole payload are equal.
#pragma once

#include <optional>
#include <variant>

#include "interface/InterfaceRecords.h"

struct InspectedSet {
  DuplicateSet set;
  bool operator==(const InspectedSet&) const = default;
};

struct InspectedMember {
  DuplicateSet set;
  qsizetype index = 0;
  bool operator==(const InspectedMember&) const = default;
};

struct InspectedLookalike {
  FileEntry file;
  bool operator==(const InspectedLookalike&) const = default;
};

using InspectedItem = std::variant<InspectedSet, InspectedMember, InspectedLookalike>;

// The file a copy or a lookalike shows; none for a set and for no item.
std::optional<FileEntry> inspectedFile(const std::optional<InspectedItem>& item);
