// A small copy-on-write file system (btrfs, else xfs with reflink) on a loop
// device inside a temporary tree, unmounted when dropped. Needs root and
// mkfs.btrfs or mkfs.xfs; skip_reason() says why it is not available.
#pragma once

#include "temp_tree.hpp"

#include <string>

namespace quelmaris::testing {

class ReflinkVolume {
public:
  explicit ReflinkVolume(const TempTree& tree);
  ~ReflinkVolume();
  ReflinkVolume(const ReflinkVolume&) = delete;
  ReflinkVolume& operator=(const ReflinkVolume&) = delete;

  // Empty when the volume is mounted and usable.
  const std::string& skip_reason() const { return skip_reason_; }
  const std::string& path() const { return mount_point_; }
  // Copies with `cp --reflink=always` (clone) or `--reflink=never` (plain copy).
  bool copy(const std::string& from, const std::string& to, bool clone) const;

private:
  std::string mount_point_;
  std::string skip_reason_;
};

}  // namespace quelmaris::testing
