#include "reflink_volume.hpp"

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>

namespace quelmaris::testing {

namespace {
bool has_tool(const std::string& name) { return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0; }
}  // namespace

ReflinkVolume::ReflinkVolume(const TempTree& tree) : mount_point_(tree.mkdir("mnt")) {
  if (::geteuid() != 0) {
    skip_reason_ = "loop-mounting a copy-on-write volume needs root";
    return;
  }
  if (!has_tool("mkfs.btrfs") && !has_tool("mkfs.xfs")) {
    skip_reason_ = "neither mkfs.btrfs nor mkfs.xfs is installed";
    return;
  }
  const std::string image = tree.path("volume.img");
  const std::string mkfs = has_tool("mkfs.btrfs") ? "mkfs.btrfs -q -f " : "mkfs.xfs -q -f -m reflink=1 ";
  const bool mounted = std::system(("truncate -s 400M '" + image + "' && " + mkfs + "'" + image +
                                    "' >/dev/null 2>&1 && mount -o loop '" + image + "' '" + mount_point_ +
                                    "' 2>/dev/null")
                                       .c_str()) == 0;
  if (!mounted) skip_reason_ = "the loop-mounted volume could not be created";
}

ReflinkVolume::~ReflinkVolume() {
  if (skip_reason_.empty()) ::umount2(mount_point_.c_str(), MNT_DETACH);
}

bool ReflinkVolume::copy(const std::string& from, const std::string& to, bool clone) const {
  const std::string mode = clone ? "always" : "never";
  return std::system(("cp --reflink=" + mode + " '" + from + "' '" + to + "' && sync").c_str()) == 0;
}

}  // namespace quelmaris::testing
