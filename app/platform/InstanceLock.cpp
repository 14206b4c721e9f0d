#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QtGlobal>
#include <cerrno>
#include <cstring>
#include <utility>

InstanceLock::InstanceLock(QString path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

InstanceLock::Outcome InstanceLock::take() {
  if (descriptor_ >= 0) return Outcome::Taken;
  // Non-blocking, so that a FIFO put in the file's place cannot hold the start.
  const int opened = ::open(QFile::encodeName(path_).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, S_IRUSR | S_IWUSR);
  if (opened < 0) {
    qWarning("Quelmaris: cannot open the lock %s: %s", qPrintable(path_), std::strerror(errno));
    return Outcome::Unavailable;
  }
  struct stat status {};
  if (::fstat(opened, &status) != 0 || !S_ISREG(status.st_mode)) {
    qWarning("Quelmaris: the lock %s is not a regular file", qPrintable(path_));
    ::close(opened);
    return Outcome::Unavailable;
  }
  int locked = 0;
  do locked = ::flock(opened, LOCK_EX | LOCK_NB);
  while (locked != 0 && errno == EINTR);
  if (locked == 0) {
    descriptor_ = opened;
    return Outcome::Taken;
  }
  const int error = errno;
  ::close(opened);
  if (error == EWOULDBLOCK) return Outcome::HeldElsewhere;
  qWarning("Quelmaris: cannot lock %s: %s", qPrintable(path_), std::strerror(error));
  return Outcome::Unavailable;
}
