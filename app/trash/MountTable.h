// The mount point that holds a path, read from the kernel's mount table: the
// top directory of the file system where a file's Trash folder lives when the
// file is not on the home Trash's device. Reentrant; reads the table per call.
#pragma once

#include <optional>
#include <string>

namespace FreedesktopTrash {

// The innermost mount point holding the absolute, symlink-free path; nothing
// when the table cannot be read or no mount holds the path.
std::optional<std::string> mountPointHolding(const std::string& path,
                                             const std::string& mountinfo = "/proc/self/mountinfo");

}  // namespace FreedesktopTrash
