// Copy-on-write facts of one file from the file system's extent map (FIEMAP):
// the bytes it does not share, whether it may share blocks, and an identifier
// that two clones of one file have in common. Does not follow symbolic links.
#pragma once

#include "result.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace quelmaris::platform {

inline constexpr std::uint64_t kMayShareBlocks = 0x1;
inline constexpr std::uint64_t kSharesAllBlocks = 0x40;

struct CloneInfo {
  std::optional<std::uint64_t> private_size;
  std::optional<std::uint64_t> clone_id;
  std::optional<std::uint64_t> ext_flags;  // kMayShareBlocks / kSharesAllBlocks
  bool operator==(const CloneInfo&) const = default;
};

// No clone facts at all on a file system without extent maps. The error, an
// errno value (EINVAL for a path with a zero byte), is a real failure: the
// file gone or unreadable.
Result<CloneInfo, int> clone_info(const std::string& path);

}  // namespace quelmaris::platform
