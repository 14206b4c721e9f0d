// An open folder stream, closed when dropped.
#pragma once

#include <dirent.h>

#include <memory>

namespace quelmaris {

struct CloseDir {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

using UniqueDir = std::unique_ptr<DIR, CloseDir>;

}  // namespace quelmaris
