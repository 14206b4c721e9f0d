#include "platform/MountPoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "trash/MountTable.h"

namespace {

// The table as last read, with the table kept open: the kernel marks an open
// table when a mount comes or goes in the namespace it was opened in.
struct ReadTable {
  std::mutex mutex;
  std::vector<FreedesktopTrash::Mount> mounts;
  int watch = -1;
  ino_t nameSpace = 0;
};

ino_t mountNamespace() {
  struct stat facts {};
  return ::stat("/proc/self/ns/mnt", &facts) == 0 ? facts.st_ino : 0;
}

// Also when the open table cannot tell: it is read again then.
bool changedSinceRead(const ReadTable& table, ino_t nameSpace) {
  if (table.watch < 0 || table.nameSpace != nameSpace) return true;
  pollfd marked{table.watch, POLLPRI, 0};
  return ::poll(&marked, 1, 0) != 0;
}

}  // namespace

std::string mountPointHolding(const QByteArray& path) {
  static ReadTable table;
  const std::lock_guard lock(table.mutex);
  // A process that entered a mount namespace of its own is told nothing of
  // its mounts by a table opened before.
  if (const ino_t nameSpace = mountNamespace(); changedSinceRead(table, nameSpace)) {
    if (table.watch >= 0) ::close(table.watch);
    table.watch = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    table.nameSpace = nameSpace;
    table.mounts = FreedesktopTrash::readMountTable();
  }
  const auto mount = FreedesktopTrash::mountHolding(path.toStdString(), table.mounts);
  return mount ? mount->point : std::string();
}
