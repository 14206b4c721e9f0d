#include "trash/TrashFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "home_trash.hpp"
#include "trash/MountTable.h"
#include "unique_fd.hpp"

namespace FreedesktopTrash {

namespace {

using quelmaris::Failure;

std::string joined(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// (folder, name) of a path; the folder of "/x" is "/".
std::pair<std::string, std::string> split(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {std::string(), path};
  return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// What a Trash folder that is not ours alone gives: no Trash on the volume
// can take the item.
constexpr int kNotOursAlone = EXDEV;

std::string userId() { return std::to_string(::getuid()); }

// The device of the path or of its nearest existing ancestor: the device a
// folder not made yet would be made on.
std::optional<dev_t> deviceOfNearest(std::string path) {
  for (struct stat facts{};;) {
    if (::stat(path.c_str(), &facts) == 0) return facts.st_dev;
    if ((errno != ENOENT && errno != ENOTDIR) || path == "/" || path.empty()) return std::nullopt;
    path = split(path).first;
  }
}

// mkdir -p with mode 0700, following links as any user's data folder may.
int makeDirectories(const std::string& path) {
  for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
    const std::string prefix = path.substr(0, end);
    if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    if (end == std::string::npos) break;
  }
  struct stat facts {};
  if (::stat(path.c_str(), &facts) != 0) return errno;
  return S_ISDIR(facts.st_mode) ? 0 : ENOTDIR;
}

// A folder of ours that shows itself open to others is closed with a chmod
// to 0700. Where that does not take (the mode stays, or the file system
// refuses or lacks the change), the volume keeps no modes: the ones shown
// come from the mount options, the same on every file, and say nothing about
// who else may write, so there the owner decides. Where it takes, the volume
// keeps modes: a folder just made is now as it should be, while one found
// open may have been used by others, so it is left as found and refused.
int closeToOthers(int folder, mode_t shown, bool justMade) {
  if (::fchmod(folder, 0700) != 0) return errno == EPERM || errno == ENOSYS || errno == EOPNOTSUPP ? 0 : errno;
  struct stat facts {};
  if (::fstat(folder, &facts) != 0) return errno;
  if ((facts.st_mode & 0077) != 0 || justMade) return 0;
  ::fchmod(folder, shown & 07777);
  return kNotOursAlone;
}

// A folder made with mode 0700, or found as a real folder of ours that nobody
// else may write to: never a link that could lead the Trash elsewhere on a
// shared file system, nor a folder where another user could take items away.
// One just made is checked as one found, since a file system may not give it
// the mode asked for.
int makeRealDirectory(const std::string& path) {
  const bool justMade = ::mkdir(path.c_str(), 0700) == 0;
  if (!justMade && errno != EEXIST) return errno;
  const quelmaris::UniqueFd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (folder.get() < 0) return errno == ELOOP || errno == ENOTDIR ? kNotOursAlone : errno;
  struct stat facts {};
  if (::fstat(folder.get(), &facts) != 0) return errno;
  if (facts.st_uid != ::getuid()) return kNotOursAlone;
  return (facts.st_mode & 0077) == 0 ? 0 : closeToOthers(folder.get(), facts.st_mode, justMade);
}

int makeTrashFolder(const std::string& path) {
  for (const std::string& folder : {path, joined(path, "files"), joined(path, "info")})
    if (const int error = makeRealDirectory(folder)) return error;
  return 0;
}

// The mount holding the item, on the item's own device. A bind mount of a
// folder counts as a mount of its own: renames never cross from it into
// another mount of its file system, and the file manager puts its Trash at
// its point too. The walk leaves such a Trash out where the volume's own
// mount shows it as a folder.
quelmaris::Result<Mount, int> mountOf(const std::string& path, dev_t device) {
  auto mount = mountOfItem(path, readMountTable());
  struct stat facts {};
  if (!mount || ::stat(mount->point.c_str(), &facts) != 0 || facts.st_dev != device) return Failure{EXDEV};
  return std::move(*mount);
}

bool isRealStickyFolder(const std::string& path) {
  struct stat facts {};
  return ::lstat(path.c_str(), &facts) == 0 && S_ISDIR(facts.st_mode) && (facts.st_mode & S_ISVTX) != 0;
}

}  // namespace

quelmaris::Result<TrashFolder, int> trashFolderAtTopOf(const std::string& topdir) {
  const std::string shared = joined(topdir, ".Trash");
  if (isRealStickyFolder(shared)) {
    const std::string own = joined(shared, userId());
    if (makeTrashFolder(own) == 0) return TrashFolder{own, topdir};
  }
  const std::string own = joined(topdir, ".Trash-" + userId());
  if (const int error = makeTrashFolder(own)) return Failure{error};
  return TrashFolder{own, topdir};
}

quelmaris::Result<TrashFolder, int> trashFolderOnMountOf(const std::string& path, dev_t device) {
  const auto mount = mountOf(path, device);
  if (!mount) return Failure{mount.error()};
  return trashFolderAtTopOf(mount.value().point);
}

std::optional<std::string> homeTrashPath() { return quelmaris::home_trash_path(); }

quelmaris::Result<TrashFolder, int> trashFolderFor(const std::string& path, dev_t device) {
  if (const auto home = homeTrashPath(); home && deviceOfNearest(*home) == device) {
    for (const std::string& folder : {joined(*home, "files"), joined(*home, "info")})
      if (const int error = makeDirectories(folder)) return Failure{error};
    return TrashFolder{*home, std::nullopt};
  }
  return trashFolderOnMountOf(path, device);
}

std::optional<TrashFolder> trashFolderHolding(const std::string& trashedPath) {
  const auto [filesFolder, name] = split(trashedPath);
  const auto [folder, filesName] = split(filesFolder);
  const auto [outer, folderName] = split(folder);
  if (name.empty() || filesName != "files") return std::nullopt;
  if (folderName == ".Trash-" + userId()) return TrashFolder{folder, outer};
  if (folderName == userId() && split(outer).second == ".Trash") return TrashFolder{folder, split(outer).first};
  if (folderName == "Trash") return TrashFolder{folder, std::nullopt};
  return std::nullopt;
}

std::optional<std::string> trashInfoPathFor(const std::string& trashedPath) {
  if (!trashFolderHolding(trashedPath)) return std::nullopt;
  const auto [filesFolder, name] = split(trashedPath);
  return joined(joined(split(filesFolder).first, "info"), name + ".trashinfo");
}

}  // namespace FreedesktopTrash
