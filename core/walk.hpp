// The directory walk: breadth-first by levels, each level's folders listed in
// parallel in the calling TBB arena (the scan's walk pool). Reads listings and
// lstat only; never follows a symbolic link, and enters a folder only while it
// is the one its parent's listing saw (else it is skipped as Changed).
// Leaves out the Trash folders of this desktop, which hold no originals,
// unless the user listed them; a folder the user listed inside any folder it
// leaves out is walked all the same. Unreadable items are queued with the
// reporter; files_seen counts every regular file met. Never fails.
#pragma once

#include "file_facts.hpp"
#include "progress.hpp"
#include "roots.hpp"
#include "scan_listener.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quelmaris {

// One regular file as the walk saw it. The name is the last component of the
// path, kept as an offset so that a walked file costs one allocation.
struct WalkedFile {
  std::string path;  // always valid UTF-8
  std::uint32_t name_offset;
  std::uint64_t size;
  std::optional<std::int64_t> created_ns;  // birth time; absent where the file system records none
  std::int64_t modified_ns;
  std::uint64_t dev;
  std::uint64_t ino;
  std::uint32_t nlink;
  std::uint32_t root_index;

  std::string_view name() const { return std::string_view(path).substr(name_offset); }
  bool operator==(const WalkedFile&) const = default;
};

struct WalkSettings {
  std::vector<std::string> excluded_names;      // wildcard patterns, as configured
  std::vector<std::string> package_extensions;  // leading dots removed, lower-cased
  bool include_hidden;
  std::uint64_t min_size;  // effective: at least 1
  // This user's home Trash, left out wherever the walk meets it; absent when
  // there is none. The per-volume ones are known by name at a volume's top,
  // and a .Trash-<uid> also below it by the two folders it holds.
  std::optional<DevIno> home_trash;
};

namespace walk {

// Must be called inside the walk pool's arena.
std::vector<WalkedFile> walk_root(const std::vector<WalkRoot>& roots, const NestedRootMap& nested,
                                  const WalkSettings& settings, ProgressReporter& reporter,
                                  const CancelFlag& cancel);

}  // namespace walk
}  // namespace quelmaris
