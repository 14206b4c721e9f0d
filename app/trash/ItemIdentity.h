// Which file an item is, as lstat tells it without following a link: its
// inode, which a rename within one file system keeps, and its type, size and
// modification time, which a rename keeps too and which tell apart a new file
// that was handed a freed inode number (ext4 does so at once). Not its device:
// a volume plugged in again may come back on another one. FAT and exFAT keep
// the type, the size and (but for the FUSE FAT driver) the time in a coarser
// step and only from 1980 to 2107: their inode numbers change when the volume
// is mounted again.
#pragma once

#include <sys/types.h>

#include <cstdint>

struct ItemIdentity {
  ino_t inode = 0;
  mode_t type = 0;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const ItemIdentity&) const = default;
};
