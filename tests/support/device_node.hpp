// A device that gives zero bytes without end, like /dev/zero, made in a test's
// own folder: a test that points the code under test at a device never uses
// the system's, which a faulty writer could replace.
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <string>

namespace quelmaris::testing {

// True when the node was made; making one takes root, and elsewhere a FIFO
// stands in for it, which is no regular file either.
inline bool make_zero_device(const std::string& path) {
  if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0) return true;
  ::mkfifo(path.c_str(), 0600);
  return false;
}

}  // namespace quelmaris::testing
