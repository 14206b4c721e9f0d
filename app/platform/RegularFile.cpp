#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// Closes the descriptor when it goes out of scope.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

// The rest of the file, in reads of the size it had when opened; fails when it
// grew beyond the limit meanwhile.
quelmaris::Result<QByteArray, int> readAll(int fd, qint64 size, qint64 limit) {
  QByteArray bytes;
  bytes.resize(size + 1);
  qint64 filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      if (bytes.size() > limit) return quelmaris::Failure{EFBIG};
      bytes.resize(std::min<qint64>(bytes.size() * 2, limit + 1));
    }
    const ssize_t got = ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return quelmaris::Failure{errno};
    if (got == 0) break;
    filled += got;
  }
  bytes.truncate(filled);
  return bytes;
}

}  // namespace

std::unique_ptr<QFile> openRegularFile(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  auto file = std::make_unique<QFile>();
  if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return nullptr;
  }
  return file;
}

quelmaris::Result<QByteArray, int> readRegularFile(const QString& path, qint64 limit) {
  const QByteArray name = QFile::encodeName(path);
  // Looked at before opening: opening a device can itself do something.
  struct stat named {};
  if (::stat(name.constData(), &named) != 0) return quelmaris::Failure{errno};
  if (!S_ISREG(named.st_mode)) return quelmaris::Failure{EINVAL};
  if (named.st_size > limit) return quelmaris::Failure{EFBIG};
  const Descriptor file{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (file.fd < 0) return quelmaris::Failure{errno};
  // Whatever took the name between the look and the open is looked at again.
  struct stat opened {};
  if (::fstat(file.fd, &opened) != 0) return quelmaris::Failure{errno};
  if (!S_ISREG(opened.st_mode)) return quelmaris::Failure{EINVAL};
  if (opened.st_size > limit) return quelmaris::Failure{EFBIG};
  return readAll(file.fd, opened.st_size, limit);
}
