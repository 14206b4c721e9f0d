#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>

#include "unique_dir.hpp"

namespace {

// The file whose contents are replaced: the target of a symbolic link at the
// path when that is a regular file; else whatever stands at the path itself,
// never a device or the like.
QByteArray replacedName(const QString& path) {
  const QFileInfo info(path);
  const bool regularTarget = info.isSymLink() && info.exists() && info.isFile();
  return QFile::encodeName(regularTarget ? info.canonicalFilePath() : path);
}

QByteArray folderOf(const QByteArray& name) {
  const qsizetype slash = name.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : name.left(slash);
}

QByteArray baseName(const QByteArray& name) { return name.mid(name.lastIndexOf('/') + 1); }

// A name beside the file that nothing else uses; the dot keeps it out of sight.
QByteArray temporaryName(const QByteArray& name) {
  return name.left(name.lastIndexOf('/') + 1) + '.' + baseName(name) + '.' +
         QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Whether the entry has a name temporaryName() gives beside the file: a
// 64-bit number in base 36 takes at most 13 digits.
bool isTemporaryOf(QByteArrayView entry, const QByteArray& base) {
  const QByteArray prefix = '.' + base + '.';
  if (!entry.startsWith(prefix) || entry.size() == prefix.size() || entry.size() > prefix.size() + 13) return false;
  const QByteArrayView digits = entry.sliced(prefix.size());
  return std::all_of(digits.begin(), digits.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'); });
}

// A save holds its temporary locked until the temporary has taken the name
// or is removed, so that the clean-up of another save tells it from one that
// a save which died left. Where the file system has no such locks the
// temporary goes without, and the clean-up, which can lock none, leaves it.
void lockAsWritten(int fd) {
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

// Removes the entry when it is a regular file that no save holds locked.
void removeIfLeftOver(int folder, const char* entry) {
  struct stat named {};
  if (::fstatat(folder, entry, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode)) return;
  const int fd = ::openat(folder, entry, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened {};
  // The lock is taken on what was opened; the name must still be it.
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
      ::fstatat(folder, entry, &named, AT_SYMLINK_NOFOLLOW) == 0 && opened.st_dev == named.st_dev &&
      opened.st_ino == named.st_ino)
    ::unlinkat(folder, entry, 0);
  ::close(fd);
}

// Clears the temporaries that saves which died left beside the file.
void clearLeftovers(const QByteArray& name) {
  const quelmaris::UniqueDir folder(::opendir(folderOf(name).constData()));
  if (!folder) return;
  const QByteArray base = baseName(name);
  while (const dirent* entry = ::readdir(folder.get()))
    if (isTemporaryOf(entry->d_name, base)) removeIfLeftOver(::dirfd(folder.get()), entry->d_name);
}

int writeAll(int fd, const QByteArray& bytes) {
  qsizetype written = 0;
  while (written < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return EIO;
    written += put;
  }
  return 0;
}

// A new file beside the replaced one, without a name, so that a process that
// dies while writing leaves nothing behind; -1 where the file system has no
// unnamed files or the name could not be given later.
int createUnnamed(const QByteArray& name) {
  if (::access("/proc/self/fd", X_OK) != 0) return -1;
  return ::open(folderOf(name).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the unnamed file a temporary name beside the replaced one; errno.
int linkUnnamed(int fd, const QByteArray& name, QByteArray& temporary) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
  for (;;) {
    const QByteArray candidate = temporaryName(name);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, candidate.constData(), AT_SYMLINK_FOLLOW) == 0) {
      temporary = candidate;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
}

// A new file beside the replaced one under a temporary name, locked; -1 and
// errno. Another save's clean-up may take the file between its creation and
// the lock: then it is gone, and another is made.
int createNamed(const QByteArray& name, QByteArray& temporary) {
  for (;;) {
    const QByteArray candidate = temporaryName(name);
    const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return fd;
    lockAsWritten(fd);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
      temporary = candidate;
      return fd;
    }
    ::close(fd);
  }
}

// The bytes on the disk in a new file under a temporary name, with the
// replaced file's permissions; errno. The file stays locked through held
// (-1 where it could not be kept) until the caller closes it.
int writeNewFile(const QByteArray& name, const QByteArray& bytes, QByteArray& temporary, int& held) {
  struct stat previous {};
  const bool replacing = ::stat(name.constData(), &previous) == 0;
  int fd = createUnnamed(name);
  const bool unnamed = fd >= 0;
  if (unnamed) lockAsWritten(fd);
  if (!unnamed) fd = createNamed(name, temporary);
  if (fd < 0) return errno;
  if (replacing) ::fchmod(fd, previous.st_mode & 07777);
  int error = writeAndSync(fd, bytes);
  if (error == 0 && unnamed) error = linkUnnamed(fd, name, temporary);
  // A copy of the descriptor shares the lock, which the close of the one
  // written through, checked here, would otherwise drop.
  held = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  return error;
}

}  // namespace

int writeAndSync(int fd, const QByteArray& bytes) {
  if (const int error = writeAll(fd, bytes)) return error;
  return ::fdatasync(fd) == 0 ? 0 : errno;
}

int writeFileAtomically(const QString& path, const QByteArray& bytes) {
  const QByteArray name = replacedName(path);
  clearLeftovers(name);
  QByteArray temporary;
  int held = -1;
  int error = writeNewFile(name, bytes, temporary, held);
  if (error == 0 && ::rename(temporary.constData(), name.constData()) != 0) error = errno;
  if (error != 0 && !temporary.isEmpty()) ::unlink(temporary.constData());
  if (held >= 0) ::close(held);
  if (error != 0) return error;
  // The new name itself reaches the disk with its folder; the file is whole either way.
  if (const int folder = ::open(folderOf(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return 0;
}
