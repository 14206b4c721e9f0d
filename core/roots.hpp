// Turns the configured roots into the folders a scan really walks. Drops
// roots that are missing, not folders, unreadable, listed twice or nested in
// another listed folder, each with its reason. Runs on the scan's own thread,
// touches the file system only to resolve paths and read status; never fails.
#pragma once

#include "records.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quelmaris {

// A folder to walk: its canonical path and its index in the configured roots.
struct WalkRoot {
  std::string path;
  std::uint32_t root_index;
  bool operator==(const WalkRoot&) const = default;
};

// Canonical path of every root dropped as nested, mapped to its own index, so
// that files below it keep the better of the two indices.
using NestedRootMap = std::unordered_map<std::string, std::uint32_t>;

struct RootSkip {
  std::string root;  // exactly as configured
  RootSkipReason reason;
  bool operator==(const RootSkip&) const = default;
};

namespace roots {

struct RootsCheck {
  std::vector<WalkRoot> walk_roots;  // configured order
  NestedRootMap nested;
  std::vector<RootSkip> skips;  // first-pass drops in configured order, then nested drops
};

RootsCheck check_roots(const std::vector<std::string>& configured);

}  // namespace roots
}  // namespace quelmaris
