#include "trash/NoReplaceMove.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace FreedesktopTrash {

namespace {

bool sameItem(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// After the item was linked in at `to`: the old name is removed only while
// it still holds the linked item, so that an item put in its place meanwhile
// stays while the moved one is in place all the same. Where the old name
// cannot be removed, the new one is removed again and the item has not
// moved: a failure to remove is no sign of a file system without hard links,
// so no rename is tried after it.
int removeOldName(const std::string& from, const std::string& to) {
  struct stat moved {};
  struct stat left {};
  if (::lstat(to.c_str(), &moved) != 0 || ::lstat(from.c_str(), &left) != 0 || !sameItem(moved, left)) return 0;
  if (::unlink(from.c_str()) == 0) return 0;
  const int error = errno;
  ::unlink(to.c_str());
  return error;
}

// Link failures that leave a rename to try: no hard links on this file system
// or for this item (a folder), or no more of them for this file.
bool cannotLink(int error) { return error == EPERM || error == ENOSYS || error == EOPNOTSUPP || error == EMLINK; }

}  // namespace

int renameNoReplace(const std::string& from, const std::string& to) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int moveWithoutReplacing(const std::string& from, const std::string& to, const NoReplaceRename& rename) {
  const int error = rename(from, to);
  if (error != EINVAL && error != ENOSYS) return error;
  if (::link(from.c_str(), to.c_str()) == 0) return removeOldName(from, to);
  if (!cannotLink(errno)) return errno;
  // What remains: an item made at `to` between this check and the rename, by
  // a program that ignores the caller's reservation, is replaced.
  struct stat facts {};
  if (::lstat(to.c_str(), &facts) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace FreedesktopTrash
