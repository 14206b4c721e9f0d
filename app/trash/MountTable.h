// The mounts in the kernel's mount table: the top directory of the file
// system where a file's Trash folder lives when the file is not on the home
// Trash's device, whether that top is a real one, and whether the file system
// keeps its files' numbers. Reentrant.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace FreedesktopTrash {

struct Mount {
  std::string point;
  // The folder of the file system that the mount shows at its point: "/" for
  // the whole of it, a folder deeper down for a bind mount of that folder or
  // for a btrfs subvolume mounted on its own.
  std::string root;
  // The file system as the table's major:minor, the same for every mount of
  // it, btrfs subvolumes included.
  std::string fileSystem;
  // The file-system type as the table names it: "ext4", "vfat", "fuseblk" …
  std::string type;
};

// The table's mounts in its order; empty when it cannot be read.
std::vector<Mount> readMountTable(const std::string& mountinfo = "/proc/self/mountinfo");

// The innermost mount holding the absolute, symlink-free path; nothing when
// no mount holds it.
std::optional<Mount> mountHolding(const std::string& path, const std::vector<Mount>& table);

// Whether the mount's top is an ordinary folder inside another mount of the
// same file system, as it is for a bind mount of a folder.
bool topLiesInsideAnotherMount(const Mount& mount, const std::vector<Mount>& table);

// Whether a file keeps its device and inode numbers when its volume is
// mounted again. FAT and exFAT, through the kernel or FUSE, number files
// afresh at each mount (the kernel's drivers also when their cache drops an
// inode). fuseblk may be exFAT as well as NTFS, so it counts as not keeping them.
bool keepsLastingInodeNumbers(const Mount& mount);

}  // namespace FreedesktopTrash
