// The mounts in the kernel's mount table: the mount point where a file's Trash
// folder lives when the file is not on the home Trash's device, and what the
// file system keeps of its files across a rename and a mount. Reentrant.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace FreedesktopTrash {

struct Mount {
  std::string point;
  // The file-system type as the table names it: "ext4", "vfat", "fuseblk" …
  std::string type;
  // The table's first field, which statx gives as the mount id of every file
  // on the mount.
  std::uint64_t id = 0;
  // The file system's own options, the table's last field: "rw,noserverino" …
  std::string superOptions = {};
};

// The table's mounts in its order; empty when it cannot be read.
std::vector<Mount> readMountTable(const std::string& mountinfo = "/proc/self/mountinfo");

// The innermost mount holding the absolute path as its text reads, its links
// taken as they stand; asks nothing of the file system.
std::optional<Mount> mountHolding(const std::string& path, const std::vector<Mount>& table);

// The mount the item at the absolute path lies on, a link itself and not its
// target: the one with the item's mount id, which a later mount over a folder
// on the way cannot hide. Where the kernel gives no mount id, the innermost
// mount holding the item's real path. Nothing when no mount in the table is it.
std::optional<Mount> mountOfItem(const std::string& path, const std::vector<Mount>& table);

// Whether a file keeps its inode number when its volume is mounted again.
// FAT and exFAT, through the kernel or FUSE, number files afresh at each mount
// (the kernel's drivers also when their cache drops an inode). fuseblk may be
// exFAT as well as NTFS, so it counts as not keeping them. Other FUSE drivers
// (sshfs, rclone, gvfsd-fuse …) number their files themselves, per name and
// anew when the kernel drops its cache, as does CIFS mounted with
// noserverino. A plain "fuse" mount names no driver: mostly ntfs-3g on an
// image file, which passes the volume's own numbers through, but taking an
// unknown driver's numbers for lasting ones could put a file back under two
// names, so it counts as not keeping them either.
bool keepsLastingInodeNumbers(const Mount& mount);

// The step in which the file system keeps a file's modification time through
// a rename and a mount, in nanoseconds: 2 s on FAT, 10 ms on exFAT through
// the kernel, 1 s through the other FUSE drivers (SFTP keeps whole seconds,
// the others' remote stores vary), 1 ns where the time is kept as
// the kernel gives it; 0 where a rename rewrites it (the FUSE FAT driver
// stamps the time of the rename).
std::int64_t modificationTimeStepNs(const Mount& mount);

// Modification times in nanoseconds since the epoch, both ends included.
struct TimeSpan {
  std::int64_t firstNs = std::numeric_limits<std::int64_t>::min();
  std::int64_t lastNs = std::numeric_limits<std::int64_t>::max();
  bool holds(std::int64_t ns) const { return firstNs <= ns && ns <= lastNs; }
};

// The modification times the file system can hold: it stores another in
// place of a time outside them (FAT and exFAT hold 1980 to 2107 in local
// time, here a day narrower at each end so that no time zone matters).
TimeSpan modificationTimesHeld(const Mount& mount);

}  // namespace FreedesktopTrash
