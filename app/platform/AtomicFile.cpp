#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

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

// A name beside the file that nothing else uses; the dot keeps it out of sight.
QByteArray temporaryName(const QByteArray& name) {
  const qsizetype slash = name.lastIndexOf('/');
  return name.left(slash + 1) + '.' + name.mid(slash + 1) + '.' +
         QByteArray::number(QRandomGenerator::global()->generate64(), 36);
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

// A new file beside the replaced one under a temporary name; -1 and errno.
int createNamed(const QByteArray& name, QByteArray& temporary) {
  for (;;) {
    const QByteArray candidate = temporaryName(name);
    const int fd = ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) temporary = candidate;
    if (fd >= 0 || errno != EEXIST) return fd;
  }
}

// The bytes on the disk in a new file under a temporary name, with the
// replaced file's permissions; errno.
int writeNewFile(const QByteArray& name, const QByteArray& bytes, QByteArray& temporary) {
  struct stat previous {};
  const bool replacing = ::stat(name.constData(), &previous) == 0;
  int fd = createUnnamed(name);
  const bool unnamed = fd >= 0;
  if (!unnamed) fd = createNamed(name, temporary);
  if (fd < 0) return errno;
  if (replacing) ::fchmod(fd, previous.st_mode & 07777);
  int error = writeAndSync(fd, bytes);
  if (error == 0 && unnamed) error = linkUnnamed(fd, name, temporary);
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
  QByteArray temporary;
  int error = writeNewFile(name, bytes, temporary);
  if (error == 0 && ::rename(temporary.constData(), name.constData()) != 0) error = errno;
  if (error != 0) {
    if (!temporary.isEmpty()) ::unlink(temporary.constData());
    return error;
  }
  // The new name itself reaches the disk with its folder; the file is whole either way.
  if (const int folder = ::open(folderOf(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return 0;
}
