// Where the storage medium of a path is read on Linux: the rotational flag of
// the whole disk under the path in sysfs. The disk is found from the path's
// device number or, for file systems that report an anonymous one (btrfs
// subvolumes), from the mount table. Never fails: what is not found is Unknown.
#pragma once

#include <optional>
#include <string>

#include "pools.hpp"

namespace quelmaris::platform::detail {

struct MediumSources {
  std::string sysfs_root = "/sys";
  std::string mountinfo = "/proc/self/mountinfo";
};

MediumKind storage_medium(const std::string& path, const MediumSources& sources);

// The source of the innermost mount that holds the absolute path, as the mount
// table names it; nothing when no mount holds it or the table cannot be read.
std::optional<std::string> mount_source(const std::string& path, const std::string& mountinfo);

}  // namespace quelmaris::platform::detail
