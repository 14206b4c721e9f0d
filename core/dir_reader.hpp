// One folder opened for listing and read through its descriptor: entry names
// in the order the file system returns them ("." and ".." left out), and the
// lstat of each entry relative to the folder, so that the folder's path is
// resolved once rather than once per entry. Failures are errno values.
// One reader serves one listing on one thread; the descriptor closes with it.
#pragma once

#include <sys/stat.h>

#include "unique_fd.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quelmaris::detail {

class DirReader {
public:
  // Never follows a symbolic link in the last component; see error().
  explicit DirReader(const char* folder_path);
  DirReader(const DirReader&) = delete;
  DirReader& operator=(const DirReader&) = delete;

  // The failure that ended the reader (opening or reading), 0 while none.
  int error() const { return error_; }

  // The next entry's name, valid until the following call; nothing at the
  // end of the listing or after a failure.
  std::optional<std::string_view> next();

  // lstat of an entry named by next(), with the birth time where the file
  // system keeps one. Returns 0 or the errno.
  int lstat_entry(std::string_view name, struct statx& out) const;

  // Whether the entry named by next() holds a folder of the given name (not
  // a link to one): 0, ENOTDIR when something else has that name, or the
  // errno of the look (EACCES where the entry may not be searched).
  int entry_holds_folder(std::string_view name, std::string_view child) const;

  // The opened folder's own device, inode and attributes (whether it is a
  // mount's root among them). Returns 0 or the errno.
  int identify(struct statx& out) const;

private:
  bool refill();

  UniqueFd fd_;
  int error_ = 0;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  alignas(8) std::array<char, 32 * 1024> buffer_;
};

}  // namespace quelmaris::detail
