// Which file an item is, as lstat tells it without following a link: its
// device and inode, which a rename within one file system keeps, and its type,
// size and modification time, which a rename keeps too and which tell apart a
// new file that was handed a freed inode number (ext4 does so at once). FAT
// and exFAT keep only the type and size for sure: their inode numbers change
// when the volume is mounted again, and a FUSE driver stamps a renamed file.
#pragma once

#include <sys/types.h>

#include <cstdint>

struct ItemIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  mode_t type = 0;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const ItemIdentity&) const = default;
};
