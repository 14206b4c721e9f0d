#include "platform/clone_info.hpp"

#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <new>

#include "unique_fd.hpp"

namespace quelmaris::platform {
namespace {

constexpr std::size_t kExtentsPerCall = 64;

// struct fiemap ends in a flexible array of extents: this gives it room.
struct alignas(struct fiemap) FiemapStorage {
  std::array<std::byte, sizeof(struct fiemap) + kExtentsPerCall * sizeof(struct fiemap_extent)> bytes;
};

struct ExtentTally {
  std::uint64_t private_bytes = 0;
  std::uint64_t extents = 0;
  std::uint64_t shared = 0;
  std::optional<std::uint64_t> first_shared_physical;

  void add(const struct fiemap_extent& extent) {
    const bool is_shared = (extent.fe_flags & FIEMAP_EXTENT_SHARED) != 0;
    if (extents == 0 && is_shared) first_shared_physical = extent.fe_physical;
    ++extents;
    if (is_shared)
      ++shared;
    else
      private_bytes += extent.fe_length;
  }

  CloneInfo info() const {
    std::uint64_t flags = 0;
    if (shared > 0) flags |= kMayShareBlocks;
    if (shared > 0 && shared == extents) flags |= kSharesAllBlocks;
    return CloneInfo{private_bytes, first_shared_physical, flags};
  }
};

// Walks the whole extent map in batches; without FIEMAP_FLAG_SYNC, so that
// asking never forces the file's dirty pages to disk.
Result<ExtentTally, int> tally_extents(int fd) {
  ExtentTally tally;
  FiemapStorage storage;
  std::uint64_t start = 0;
  for (;;) {
    auto* map = new (storage.bytes.data()) fiemap{};
    map->fm_start = start;
    map->fm_length = FIEMAP_MAX_OFFSET - start;
    map->fm_extent_count = kExtentsPerCall;
    if (::ioctl(fd, FS_IOC_FIEMAP, map) != 0) return Failure{errno};
    const std::uint32_t mapped = std::min<std::uint32_t>(map->fm_mapped_extents, kExtentsPerCall);
    if (mapped == 0) return tally;
    for (std::uint32_t i = 0; i < mapped; ++i) tally.add(map->fm_extents[i]);
    const auto& last = map->fm_extents[mapped - 1];
    const std::uint64_t next = last.fe_logical + last.fe_length;
    // A map that does not move forward would otherwise be asked forever.
    if ((last.fe_flags & FIEMAP_EXTENT_LAST) != 0 || next <= start) return tally;
    start = next;
  }
}

// tmpfs, NFS and most FUSE volumes keep no extent map and say so; sandboxed
// kernels answer an ioctl they do not know with ENOTTY.
bool has_no_extent_map(int error) { return error == EOPNOTSUPP || error == ENOTTY; }

}  // namespace

Result<CloneInfo, int> clone_info(const std::string& path) {
  if (path.find('\0') != std::string::npos) return Failure{EINVAL};
  // O_NONBLOCK: a FIFO at the path must not block the open.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return Failure{errno};
  auto tally = tally_extents(fd.get());
  // A volume without extent maps has no clones: no clone facts, as elsewhere
  // a volume without clones gives none, so a copy there frees its size.
  if (!tally && has_no_extent_map(tally.error())) return CloneInfo{};
  if (!tally) return Failure{tally.error()};
  return tally.value().info();
}

}  // namespace quelmaris::platform
