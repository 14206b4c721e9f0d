#include "trash/FreedesktopTrash.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "trash/MountTable.h"
#include "trash/NoReplaceMove.h"
#include "trash/TrashFolder.h"
#include "trash/TrashInfo.h"
#include "unique_fd.hpp"

namespace FreedesktopTrash {

namespace {

using quelmaris::Failure;

// Plain numbers for the first few names taken, then random ones, so that a
// Trash holding many items of one name does not make every move probe them all.
constexpr unsigned kNumberedAttempts = 16;
constexpr unsigned kAttempts = 1000;

std::uint64_t entryNumber(unsigned attempt) {
  if (attempt < kNumberedAttempts) return attempt + 1;
  thread_local std::mt19937_64 random{std::random_device{}()};
  return kNumberedAttempts + 1 + random() % 1'000'000'000;
}

std::string baseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string parentFolder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The original path as the record keeps it: absolute for the home Trash,
// relative to the top directory for a Trash on the item's own file system.
// A folder on the way that was removed since the move is taken as written:
// the record still names the place, and the move back fails for want of it.
std::string recordedPath(const std::string& path, const TrashFolder& folder) {
  if (!folder.topdir) return path;
  std::error_code error;
  std::string real = std::filesystem::weakly_canonical(parentFolder(path), error).string();
  if (error) return path;
  real += (real == "/" ? "" : "/") + baseName(path);
  const std::string prefix = *folder.topdir == "/" ? "/" : *folder.topdir + "/";
  return real.starts_with(prefix) ? real.substr(prefix.size()) : path;
}

int writeAll(int fd, const std::string& text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

// Claims a name with an exclusive record first, so that two movers never
// share one, then renames the item in under the same name without replacing.
quelmaris::Result<std::string, int> placeInTrash(const std::string& path, const TrashFolder& trashFolder,
                                                 const NoReplaceRename& rename) {
  const std::string& folder = trashFolder.path;
  const std::string record = trashInfoText(recordedPath(path, trashFolder), std::time(nullptr));
  for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
    const std::string name = trashEntryName(baseName(path), entryNumber(attempt));
    const std::string infoPath = folder + "/info/" + name + ".trashinfo";
    const quelmaris::UniqueFd info(
        ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (info.get() < 0 && errno == EEXIST) continue;
    if (info.get() < 0) return Failure{errno};
    if (const int error = writeAll(info.get(), record)) {
      ::unlink(infoPath.c_str());
      return Failure{error};
    }
    const std::string target = folder + "/files/" + name;
    const int error = moveIntoReservedName(path, target, rename);
    if (error == 0) return target;
    ::unlink(infoPath.c_str());
    // An item left in files/ without its record still holds the name.
    if (error != EEXIST) return Failure{error};
  }
  return Failure{EEXIST};
}

// Whether the record says its item came from the path: a Trash emptied since
// the move may hold another item under the same name, which must not be put
// in this one's place.
bool recordNames(const std::string& recordPath, const std::string& recorded) {
  std::ifstream record(recordPath, std::ios::binary);
  const std::string wanted = "Path=" + percentEncodedPath(recorded);
  for (std::string line; std::getline(record, line);)
    if (line == wanted) return true;
  return false;
}

// Whether two modification times are the same as the volume keeps them: in
// its step, so that a time kept finer in memory than on the volume is still
// the same after a new mount.
bool sameModificationTime(std::int64_t recordedNs, std::int64_t foundNs, std::int64_t stepNs) {
  if (stepNs == 0) return true;
  const auto stepOf = [stepNs](std::int64_t ns) { return ns / stepNs - (ns % stepNs < 0 ? 1 : 0); };
  return stepOf(recordedNs) == stepOf(foundNs);
}

// Why the item found is not the one recorded, as a MoveRefusal; 0 when
// nothing tells them apart. The device number is never compared: the item is
// found by its path in the Trash, and a volume plugged in again may come back
// on another device. Where inode numbers may be renumbered, an item with
// another number is told apart by its kind, size and time alone. What remains
// there, on the FUSE FAT driver, which keeps no time through a rename, and for
// a time the volume cannot hold, which it stored as another: another item
// alike in the facts left that took this one's name and a record naming the
// same place is taken for it.
int refusalFor(const ItemIdentity& recorded, const FoundItem& found) {
  const ItemIdentity& now = found.identity;
  const KeptFacts& volume = found.volume;
  if (volume.inodeNumbersLast && now.inode != recorded.inode) return kAnotherItem;
  if (now.type != recorded.type) return kOfAnotherKind;
  if (now.size != recorded.size) return kOfAnotherSize;
  if (volume.modificationTimesHeld.holds(recorded.modifiedNs) &&
      !sameModificationTime(recorded.modifiedNs, now.modifiedNs, volume.modificationTimeStepNs))
    return kModifiedSince;
  return 0;
}

// Only FAT, exFAT, FUSE and SMB volumes can be ones that number their files
// anew or keep coarser times: one statfs settles every other volume, so that
// an undo of many files reads the mount table only where it must.
KeptFacts factsKeptIn(const std::string& folder) {
  struct statfs volume {};
  if (::statfs(folder.c_str(), &volume) != 0) return {};
  const auto type = static_cast<unsigned long>(volume.f_type);
  if (type != MSDOS_SUPER_MAGIC && type != EXFAT_SUPER_MAGIC && type != FUSE_SUPER_MAGIC && type != CIFS_SUPER_MAGIC &&
      type != SMB2_SUPER_MAGIC)
    return {};
  const auto mount = mountOfItem(folder, readMountTable());
  if (!mount) return {};
  return {keepsLastingInodeNumbers(*mount), modificationTimeStepNs(*mount), modificationTimesHeld(*mount)};
}

}  // namespace

quelmaris::Result<std::string, int> trash(const std::string& path, const NoReplaceRename& rename) {
  struct stat facts {};
  if (!path.starts_with('/') || baseName(path).empty()) return Failure{EINVAL};
  if (::lstat(path.c_str(), &facts) != 0) return Failure{errno};
  auto folder = trashFolderFor(path, facts.st_dev);
  if (!folder) return Failure{folder.error()};
  auto placed = placeInTrash(path, folder.value(), rename);
  // Another mount of the home file system has the home Trash's device, yet
  // renames between two mounts fail: the item's own mount has a Trash of its
  // own (the volume shown whole a second time, or a bind mount of one of its
  // folders).
  if (!placed && placed.error() == EXDEV && !folder.value().topdir) {
    folder = trashFolderOnMountOf(path, facts.st_dev);
    if (!folder) return Failure{folder.error()};
    placed = placeInTrash(path, folder.value(), rename);
  }
  return placed;
}

int move(const std::string& source, const std::string& destination, const ItemIdentity& identity,
         const NoReplaceRename& rename, const ExamineItem& examine) {
  const auto folder = trashFolderHolding(source);
  if (folder && !recordNames(*trashInfoPathFor(source), recordedPath(destination, *folder)))
    return kRecordNamesAnotherPlace;
  // A Trash emptied since the move may hold another program's file under the
  // same name and record. What remains: that file can still take the name
  // between this check and the rename, since no call renames a name only
  // while it holds a given inode.
  const auto found = examine(source);
  if (!found) return found.error();
  if (const int refusal = refusalFor(identity, found.value())) return refusal;
  // Nothing reserves the former place: see moveWithoutReplacing for what
  // remains on a volume without the no-replace flag.
  if (const int error = moveWithoutReplacing(source, destination, found.value().volume.inodeNumbersLast, rename))
    return error;
  if (folder) ::unlink(trashInfoPathFor(source)->c_str());
  return 0;
}

quelmaris::Result<ItemIdentity, int> identity(const std::string& path) {
  struct stat facts {};
  if (::lstat(path.c_str(), &facts) != 0) return Failure{errno};
  const std::int64_t modifiedNs = std::int64_t{facts.st_mtim.tv_sec} * 1'000'000'000 + facts.st_mtim.tv_nsec;
  return ItemIdentity{facts.st_ino, facts.st_mode & S_IFMT, facts.st_size, modifiedNs};
}

quelmaris::Result<FoundItem, int> examineItem(const std::string& path) {
  auto found = identity(path);
  if (!found) return Failure{found.error()};
  return FoundItem{found.value(), factsKeptIn(parentFolder(path))};
}

quelmaris::Result<bool, int> exists(const std::string& path) {
  struct stat facts {};
  if (::lstat(path.c_str(), &facts) == 0) return true;
  if (errno == ENOENT || errno == ENOTDIR) return false;
  return Failure{errno};
}

}  // namespace FreedesktopTrash
