// FileEntry values for tests that order or choose among files without
// touching the disk: only path, root index and times vary.
#pragma once

#include "records.hpp"

#include <optional>
#include <string>

namespace quelmaris::testing {

inline FileEntry entry_at(std::string path, std::uint32_t root_index, std::optional<std::int64_t> created_ns,
                          std::int64_t modified_ns) {
  return FileEntry{.path = std::move(path),
                   .name = "f",
                   .root_index = root_index,
                   .size = 1,
                   .created_ns = created_ns,
                   .modified_ns = modified_ns,
                   .dev = 1,
                   .ino = 1,
                   .nlink = 1,
                   .clone_id = std::nullopt,
                   .may_share_blocks = false,
                   .freed_bytes = std::nullopt};
}

}  // namespace quelmaris::testing
