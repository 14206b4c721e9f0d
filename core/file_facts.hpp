// Small facts about files read from the kernel, shared by every module that
// compares a file with what the scan saw: the device number as the records
// carry it, a file's identity, times in nanoseconds, and the one rule that
// turns an I/O error into a SkipReason.
#pragma once

#include "records.hpp"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>

#include <cstdint>

namespace quelmaris {

// Linux st_dev is already 64 bits wide; it is carried as it is.
inline std::uint64_t device_id(dev_t dev) { return static_cast<std::uint64_t>(dev); }

struct DevIno {
  std::uint64_t dev;
  std::uint64_t ino;
  auto operator<=>(const DevIno&) const = default;
};

// Needs STATX_INO in the result's mask.
inline DevIno identity(const struct statx& st) {
  return {device_id(makedev(st.stx_dev_major, st.stx_dev_minor)), st.stx_ino};
}

// seconds × 10^9 + nanoseconds, wrapping instead of overflowing.
inline std::int64_t nanoseconds(std::int64_t seconds, std::int64_t nanos) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(seconds) * 1'000'000'000ULL +
                                   static_cast<std::uint64_t>(nanos));
}

inline std::int64_t modified_ns(const struct stat& st) { return nanoseconds(st.st_mtim.tv_sec, st.st_mtim.tv_nsec); }

// EACCES and EPERM are Permission, EDEADLK (a dataless item) is Dataless,
// any other number is Io with it; 0 stands for an error that carries none.
SkipReason skip_reason_for_errno(int error_number);

}  // namespace quelmaris
