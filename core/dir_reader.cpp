#include "dir_reader.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace quelmaris::detail {

namespace {

constexpr unsigned kStatFields =
    STATX_TYPE | STATX_MODE | STATX_UID | STATX_NLINK | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_BTIME;

bool is_dot_or_dot_dot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

DirReader::DirReader(const char* folder_path)
    : fd_(::open(folder_path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW)) {
  if (fd_.get() < 0) error_ = errno;
}

bool DirReader::refill() {
  const ssize_t n = ::getdents64(fd_.get(), buffer_.data(), buffer_.size());
  if (n <= 0) {
    if (n < 0) error_ = errno;
    return false;
  }
  pos_ = 0;
  end_ = static_cast<std::size_t>(n);
  return true;
}

// The kernel packs variable-length records into the buffer; their fields are
// read through memcpy and offsetof so that the bytes are never accessed
// through a struct that does not live there.
std::optional<std::string_view> DirReader::next() {
  while (error_ == 0) {
    if (pos_ == end_ && !refill()) return std::nullopt;
    const char* record = buffer_.data() + pos_;
    unsigned short length;
    std::memcpy(&length, record + offsetof(struct dirent64, d_reclen), sizeof length);
    pos_ += length;
    const char* name = record + offsetof(struct dirent64, d_name);
    if (!is_dot_or_dot_dot(name)) return std::string_view(name);
  }
  return std::nullopt;
}

int DirReader::lstat_entry(std::string_view name, struct statx& out) const {
  // The view came from next(), so the kernel's terminating NUL follows it.
  if (::statx(fd_.get(), name.data(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, kStatFields, &out) != 0) return errno;
  return 0;
}

int DirReader::entry_holds_folder(std::string_view name, std::string_view child) const {
  std::string relative(name);
  relative.append("/").append(child);
  struct statx st;
  if (::statx(fd_.get(), relative.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE, &st) != 0) return errno;
  return S_ISDIR(st.stx_mode) ? 0 : ENOTDIR;
}

int DirReader::identify(struct statx& out) const {
  if (::statx(fd_.get(), "", AT_EMPTY_PATH, STATX_INO, &out) != 0) return errno;
  return 0;
}

}  // namespace quelmaris::detail
