// The mount that holds a path, read from the kernel's mount table: the top
// directory of the file system where a file's Trash folder lives when the
// file is not on the home Trash's device, and what kind of file system it is.
// Reentrant; reads the table per call.
#pragma once

#include <optional>
#include <string>

namespace FreedesktopTrash {

struct Mount {
  std::string point;
  // The file-system type as the table names it: "ext4", "vfat", "fuseblk" …
  std::string type;
};

// The innermost mount holding the absolute, symlink-free path; nothing when
// the table cannot be read or no mount holds the path.
std::optional<Mount> mountHolding(const std::string& path, const std::string& mountinfo = "/proc/self/mountinfo");

// Whether the file system keeps owners and modes of its own. FAT, exFAT and
// NTFS, through the kernel or FUSE, show modes that come from mount options,
// the same on every file.
bool keepsUnixPermissions(const Mount& mount);

// Whether a file keeps its device and inode numbers when its volume is
// mounted again. FAT and exFAT, through the kernel or FUSE, number files
// afresh at each mount (the kernel's drivers also when their cache drops an
// inode). fuseblk may be exFAT as well as NTFS, so it counts as not keeping them.
bool keepsLastingInodeNumbers(const Mount& mount);

}  // namespace FreedesktopTrash
