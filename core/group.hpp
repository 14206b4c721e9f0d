// Candidate grouping: walked files that share a normalised name and size (or
// only a size) may be duplicates. Files alone under their key are dropped
// before anything is sorted; hard links of one inode are collapsed to the
// first in member order and counted. Runs on the scan's own thread.
#pragma once

#include "records.hpp"
#include "walk.hpp"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quelmaris {

// The normalised name is empty for a size-only key; one scan uses one kind.
struct GroupKey {
  std::string_view name;
  std::uint64_t size;
  bool operator==(const GroupKey&) const = default;
};

struct CandidateGroup {
  std::string name;  // the key's normalised name; empty under a size-only key
  std::uint64_t size;
  std::vector<WalkedFile> files;  // two or more, member order, distinct (dev, ino)
  GroupKey key() const { return {name, size}; }
};

namespace group {

// NFC of the file name; under ignore_case lower-cased and composed again.
std::string normalised_name(std::string_view name, bool ignore_case);

// The grouping map: each walked file is appended to its key's list, in walk
// order. Lists are chained through indices, and keys view the files' own
// names where normalising changes nothing, so that a file costs no allocation.
class GroupingMap {
public:
  GroupingMap(std::vector<WalkedFile> files, MatchMode mode, bool ignore_case);
  GroupingMap(const GroupingMap&) = delete;
  GroupingMap& operator=(const GroupingMap&) = delete;

private:
  friend std::vector<CandidateGroup> candidate_groups(GroupingMap&& map, std::uint64_t& hard_links_collapsed);
  struct KeyHash {
    std::size_t operator()(const GroupKey& key) const;
  };
  struct Chain {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t count;
  };
  static constexpr std::uint32_t kEnd = UINT32_MAX;

  void add(std::uint32_t index, GroupKey key);

  std::vector<WalkedFile> files_;  // never resized: keys view into it
  std::vector<std::uint32_t> next_;
  std::deque<std::string> names_;  // normalised names that differ from the listed names
  std::unordered_map<GroupKey, Chain, KeyHash> chains_;
};

// Drains the map into candidate groups, in the map's own (unspecified) order.
std::vector<CandidateGroup> candidate_groups(GroupingMap&& map, std::uint64_t& hard_links_collapsed);

// Size descending, then key ascending (name bytewise, then size).
void sort_candidate_group_order(std::vector<CandidateGroup>& groups);

}  // namespace group
}  // namespace quelmaris
