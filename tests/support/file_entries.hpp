// FileEntry values for tests that order or choose among files without
// touching the disk: only path, root index and times vary.
#pragma once

#include "records.hpp"

#include <optional>
#include <string>

namespace quelmaris::testing {

inline FileEntry entry_at(std::string path, std::uint32_t root_index, std::optional<std::int64_t> created_ns,
                          std::int64_t modified_ns) {
  return FileEntry{std::move(path), "f", root_index, 1, created_ns, modified_ns, 1, 1, 1, {}, false, {}};
}

}  // namespace quelmaris::testing
