#include "full_volume.hpp"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "mount_namespace.hpp"

namespace quelmaris::testing {

namespace {

// Writes a filler file until the volume refuses another byte, then gives
// back the pages asked for.
bool fill(const std::string& mount_point, int free_pages) {
  const int fd = ::open((mount_point + "/filler").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::vector<char> block(4096, 'f');
  ssize_t put = 0;
  do put = ::write(fd, block.data(), block.size());
  while (put > 0);
  // What is left of a partly taken page, byte by byte.
  if (put < 0 && errno == ENOSPC)
    while (::write(fd, block.data(), 1) > 0) {
    }
  bool full = errno == ENOSPC;
  if (full && free_pages > 0) {
    const off_t page = ::sysconf(_SC_PAGESIZE), size = ::lseek(fd, 0, SEEK_END);
    full = size >= page * free_pages && ::ftruncate(fd, size / page * page - page * free_pages) == 0;
  }
  ::close(fd);
  return full;
}

}  // namespace

int run_on_full_volume(const std::string& mount_point, const std::function<void()>& before_full,
                       const std::function<int()>& body, int free_pages) {
  return run_in_private_mount_namespace([&] {
    if (::mount("tmpfs", mount_point.c_str(), "tmpfs", 0, "size=256k") != 0) return kNoMountNamespace;
    before_full();
    if (!fill(mount_point, free_pages)) return kNotFilled;
    return body();
  });
}

}  // namespace quelmaris::testing
