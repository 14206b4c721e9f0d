#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>

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

// A new file beside the replaced one, with the replaced one's permissions when
// there is one; its name in temporary.
int createBeside(const QByteArray& name, QByteArray& temporary) {
  struct stat previous {};
  const bool replacing = ::stat(name.constData(), &previous) == 0;
  for (;;) {
    temporary = temporaryName(name);
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd >= 0 && replacing) ::fchmod(fd, previous.st_mode & 07777);
    return fd;
  }
}

// Each step's failure is reported; the data reach the disk before the name does.
int fillAndClose(int fd, const QByteArray& bytes) {
  int error = writeAndSync(fd, bytes);
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
  const int fd = createBeside(name, temporary);
  if (fd < 0) return errno;
  int error = fillAndClose(fd, bytes);
  if (error == 0 && ::rename(temporary.constData(), name.constData()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.constData());
    return error;
  }
  // The new name itself reaches the disk with its folder; the file is whole either way.
  if (const int folder = ::open(folderOf(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return 0;
}
