#include "trash/NoReplaceMove.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "unique_fd.hpp"

namespace FreedesktopTrash {

namespace {

bool flagUnsupported(int error) { return error == EINVAL || error == ENOSYS; }

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

// An empty item at `to` that a rename of the item may replace: a folder for a
// folder, a file for anything else.
int createStandIn(const std::string& to, bool folder) {
  if (folder) return ::mkdir(to.c_str(), 0700) == 0 ? 0 : errno;
  const quelmaris::UniqueFd file(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  return file.get() < 0 ? errno : 0;
}

// Removes the stand-in while it is still empty.
void removeStandIn(const std::string& to, bool folder) {
  struct stat facts {};
  if (folder)
    ::rmdir(to.c_str());
  else if (::lstat(to.c_str(), &facts) == 0 && S_ISREG(facts.st_mode) && facts.st_size == 0)
    ::unlink(to.c_str());
}

int renameOverStandIn(const std::string& from, const std::string& to) {
  struct stat item {};
  if (::lstat(from.c_str(), &item) != 0) return errno;
  const bool folder = S_ISDIR(item.st_mode);
  if (const int error = createStandIn(to, folder)) return error;
  if (std::rename(from.c_str(), to.c_str()) == 0) return 0;
  const int error = errno;
  removeStandIn(to, folder);
  return error;
}

}  // namespace

int renameNoReplace(const std::string& from, const std::string& to) {
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int moveIntoReservedName(const std::string& from, const std::string& to, const NoReplaceRename& rename) {
  const int error = rename(from, to);
  if (!flagUnsupported(error)) return error;
  struct stat facts {};
  if (::lstat(to.c_str(), &facts) == 0) return EEXIST;
  if (errno != ENOENT) return errno;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int moveWithoutReplacing(const std::string& from, const std::string& to, bool inodeNumbersLast,
                         const NoReplaceRename& rename) {
  const int error = rename(from, to);
  if (!flagUnsupported(error)) return error;
  if (inodeNumbersLast) {
    if (::link(from.c_str(), to.c_str()) == 0) return removeOldName(from, to);
    if (!cannotLink(errno)) return errno;
  }
  return renameOverStandIn(from, to);
}

}  // namespace FreedesktopTrash
