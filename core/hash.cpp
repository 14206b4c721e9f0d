#include "hash.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <utility>

#include "file_facts.hpp"
#include "platform/io_policy.hpp"

namespace quelmaris {

namespace hash {
namespace {

detail::BetweenSampleChunks between_sample_chunks;

Failure<HashError> io_error(int error_number) { return Failure{HashError{HashError::Kind::Io, error_number}}; }
Failure<HashError> changed() { return Failure{HashError{HashError::Kind::Changed}}; }
Failure<HashError> cancelled() { return Failure{HashError{HashError::Kind::Cancelled}}; }

// Hash threads live for a whole scan and hash one file at a time, so one
// buffer per thread serves every file it reads without a per-file allocation.
std::byte* thread_buffer() {
  thread_local const std::unique_ptr<std::byte[]> buffer = std::make_unique_for_overwrite<std::byte[]>(kFullBuffer);
  return buffer.get();
}

// O_NONBLOCK keeps a FIFO swapped in since the walk from blocking the open
// (the identity check then rejects it); reads of regular files ignore it.
int open_no_follow(const char* path) {
  constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  if (platform::thread_avoids_atime()) {
    const int fd = ::open(path, kFlags | O_NOATIME);
    // Only the owner may ask for O_NOATIME; anyone else reads with it off.
    if (fd >= 0 || errno != EPERM) return fd;
  }
  return ::open(path, kFlags);
}

bool is_file_walked(const struct stat& st, const WalkedFile& file) {
  return device_id(st.st_dev) == file.dev && static_cast<std::uint64_t>(st.st_ino) == file.ino && st.st_size >= 0 &&
         static_cast<std::uint64_t>(st.st_size) == file.size;
}

ssize_t read_retrying(int fd, std::byte* into, std::size_t length) {
  ssize_t n;
  do n = ::read(fd, into, length);
  while (n < 0 && errno == EINTR);
  return n;
}

// Reads exactly `length` bytes at `offset`: fewer means the file shrank.
Result<bool, HashError> pread_exactly(int fd, std::byte* into, std::size_t length, off_t offset) {
  std::size_t got = 0;
  while (got < length) {
    const ssize_t n = ::pread(fd, into + got, length - got, offset + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return io_error(errno);
    if (n == 0) return changed();
    got += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

Result<UniqueFd, HashError> open_checked(const WalkedFile& file) {
  // A path cut short at a zero byte would name another file.
  if (file.path.find('\0') != std::string::npos) return io_error(EINVAL);
  UniqueFd fd(open_no_follow(file.path.c_str()));
  if (fd.get() < 0) return io_error(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return io_error(errno);
  if (!is_file_walked(st, file)) return changed();
  return fd;
}

Result<Digest, HashError> hash_full(const WalkedFile& file, const CancelFlag& cancel, const ProgressFn& progress) {
  auto opened = open_checked(file);
  if (!opened) return Failure{opened.error()};
  const int fd = opened.value().get();
  if (file.size > kFullBuffer) ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

  // A file of up to 1 MiB takes one read of its size and one that sees the end.
  const std::size_t chunk = static_cast<std::size_t>(std::clamp<std::uint64_t>(file.size, 1, kFullBuffer));
  std::byte* const buffer = thread_buffer();
  Blake3Hasher hasher;
  std::uint64_t hashed = 0;
  for (;;) {
    if (is_cancelled(cancel)) return cancelled();
    const ssize_t n = read_retrying(fd, buffer, chunk);
    if (n < 0) return io_error(errno);
    if (n == 0) break;
    hasher.update(buffer, static_cast<std::size_t>(n));
    progress(static_cast<std::uint64_t>(n));
    hashed += static_cast<std::uint64_t>(n);
    if (hashed > file.size) return changed();
  }
  if (hashed != file.size) return changed();
  return hasher.finalize();
}

void detail::set_between_sample_chunks(BetweenSampleChunks hook) { between_sample_chunks = std::move(hook); }

Result<Digest, HashError> hash_sample(const WalkedFile& file, const CancelFlag& cancel) {
  if (file.size <= kSampleThreshold) return hash_full(file, cancel, [](std::uint64_t) {});

  auto opened = open_checked(file);
  if (!opened) return Failure{opened.error()};
  const int fd = opened.value().get();
  std::byte* const buffer = thread_buffer();
  const auto chunk = static_cast<std::size_t>(kSampleChunk);
  if (auto first = pread_exactly(fd, buffer, chunk, 0); !first) return Failure{first.error()};
  if (between_sample_chunks) between_sample_chunks(file, fd);
  if (auto last = pread_exactly(fd, buffer + chunk, chunk, static_cast<off_t>(file.size - kSampleChunk)); !last)
    return Failure{last.error()};
  if (is_cancelled(cancel)) return cancelled();
  Blake3Hasher hasher;
  hasher.update(buffer, 2 * chunk);
  return hasher.finalize();
}

}  // namespace hash
}  // namespace quelmaris
