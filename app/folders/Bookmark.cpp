#include "folders/Bookmark.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "trash/MountTable.h"
#include "unique_dir.hpp"

namespace Bookmark {

namespace {

// Layout: magic, version, device and inode (little-endian), then the path's
// bytes as the file system spells them. Version 1 ends there; version 2 goes
// on with a NUL, a flags byte and the folder's real path (its links
// resolved), to the end.
constexpr char magic[] = {'Q', 'M', 'B', 'K'};
constexpr char pathOnly = 1;
constexpr char withPlace = 2;
constexpr qsizetype identityOffset = sizeof magic + 1;
constexpr qsizetype pathOffset = identityOffset + 2 * sizeof(std::uint64_t);
// The folder was the top of a volume: the folder beneath a mount point is
// another folder, which an unmounted volume leaves in its place.
constexpr char volumeTopFlag = 1;

struct Identity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  friend bool operator==(const Identity&, const Identity&) = default;
};

// Where a folder stands.
struct Place {
  Identity identity;
  bool volumeTop = false;
  QByteArray realPath;
};

// What the bytes recorded; the place is partial for version 1, which knew
// only the identity.
struct Record {
  char version = 0;
  QByteArray path;
  Place place;
};

bool isVolumeTop(const QByteArray& path, const struct statx& st) {
  if ((st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0) return (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
  struct stat parent {};
  return ::stat((path + "/..").constData(), &parent) == 0 &&
         parent.st_dev != makedev(st.stx_dev_major, st.stx_dev_minor);
}

// The place of the folder at path, or the errno of why there is none.
std::variant<Place, int> folderAt(const QByteArray& path) {
  struct statx st {};
  if (::statx(AT_FDCWD, path.constData(), 0, STATX_TYPE | STATX_INO, &st) != 0) return errno;
  if (!S_ISDIR(st.stx_mode)) return ENOTDIR;
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.constData(), nullptr), &std::free);
  if (!real) return errno;
  const Identity identity{makedev(st.stx_dev_major, st.stx_dev_minor), st.stx_ino};
  return Place{identity, isVolumeTop(path, st), QByteArray(real.get())};
}

// Whether the folder holds nothing; false when it cannot be read.
bool isEmptyFolder(const QByteArray& path) {
  const quelmaris::UniqueDir folder(::opendir(path.constData()));
  if (!folder) return false;
  bool empty = true;
  while (const dirent* entry = empty ? ::readdir(folder.get()) : nullptr)
    empty = std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0;
  return empty;
}

bool onParentsDevice(const Place& place) {
  struct stat parent {};
  return ::stat((place.realPath + "/..").constData(), &parent) == 0 && parent.st_dev == place.identity.device;
}

bool keepsLastingInodeNumbers(const QByteArray& path) {
  const auto mount = FreedesktopTrash::mountOfItem(path.toStdString(), FreedesktopTrash::readMountTable());
  return mount && FreedesktopTrash::keepsLastingInodeNumbers(*mount);
}

// Whether the folder found where a bookmark of the first form, which knew
// only the identity, recorded a volume's top is the empty mount point that
// volume leaves when it is not mounted: a folder of the volume beneath, with
// another device and another inode, no volume's top itself, holding nothing,
// on a file system whose inode numbers last, so that another inode is
// another folder. A volume plugged in again keeps its folders: its top is a
// volume's top, a folder below it keeps its inode where inode numbers last
// and where they do not (FAT and the like number folders afresh at each
// mount) another inode tells nothing.
bool isLeftByUnmountedVolume(const Place& found, const Identity& recorded) {
  return found.identity.device != recorded.device && found.identity.inode != recorded.inode && !found.volumeTop &&
         onParentsDevice(found) && isEmptyFolder(found.realPath) && keepsLastingInodeNumbers(found.realPath);
}

void appendNumber(QByteArray& bytes, std::uint64_t value) {
  char little[sizeof value];
  qToLittleEndian(value, little);
  bytes.append(little, sizeof little);
}

std::uint64_t numberAt(const QByteArray& bytes, qsizetype offset) {
  return qFromLittleEndian<std::uint64_t>(bytes.constData() + offset);
}

QByteArray encode(const Place& place, const QByteArray& path) {
  QByteArray bytes(magic, sizeof magic);
  bytes.append(withPlace);
  appendNumber(bytes, place.identity.device);
  appendNumber(bytes, place.identity.inode);
  bytes += path;
  bytes.append('\0');
  bytes.append(place.volumeTop ? volumeTopFlag : '\0');
  return bytes + place.realPath;
}

bool isAbsolutePath(const QByteArray& path) { return path.startsWith('/') && !path.contains('\0'); }

std::optional<Record> decode(const QByteArray& bookmark) {
  if (bookmark.size() <= pathOffset || !bookmark.startsWith(QByteArrayView(magic, sizeof magic))) return std::nullopt;
  Record record;
  record.version = bookmark.at(sizeof magic);
  record.place.identity = {numberAt(bookmark, identityOffset),
                           numberAt(bookmark, identityOffset + sizeof(std::uint64_t))};
  const QByteArray rest = bookmark.sliced(pathOffset);
  if (record.version == pathOnly) {
    record.path = rest;
  } else if (record.version == withPlace) {
    const qsizetype end = rest.indexOf('\0');
    if (end < 0 || end + 1 >= rest.size()) return std::nullopt;
    record.path = rest.first(end);
    record.place.volumeTop = rest.at(end + 1) == volumeTopFlag;
    record.place.realPath = rest.sliced(end + 2);
    if (!isAbsolutePath(record.place.realPath)) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (!isAbsolutePath(record.path)) return std::nullopt;
  return record;
}

}  // namespace

std::variant<QByteArray, FolderError> make(const QUrl& url) {
  if (!url.isLocalFile()) return FolderLog::errnoError(EINVAL);
  const QByteArray path = QFile::encodeName(url.toLocalFile());
  if (!path.startsWith('/')) return FolderLog::errnoError(EINVAL);
  const auto found = folderAt(path);
  if (const int* error = std::get_if<int>(&found)) return FolderLog::errnoError(*error);
  return encode(std::get<Place>(found), path);
}

std::optional<Resolved> resolve(const QByteArray& bookmark) {
  const auto record = decode(bookmark);
  if (!record) return std::nullopt;
  const auto found = folderAt(record->path);
  const auto* place = std::get_if<Place>(&found);
  if (place == nullptr) return std::nullopt;
  // An older record knew only the identity: it resolves as it always did,
  // but for the mount point of a volume not mounted, and is made again in
  // the current form.
  const bool current = record->version == withPlace;
  if (current && (place->realPath != record->place.realPath || (record->place.volumeTop && !place->volumeTop)))
    return std::nullopt;
  if (!current && isLeftByUnmountedVolume(*place, record->place.identity)) return std::nullopt;
  const bool same = place->identity == record->place.identity;
  return Resolved{QUrl::fromLocalFile(QFile::decodeName(record->path)), !same || !current};
}

QByteArray whereItLooks(const QByteArray& bookmark) {
  const auto record = decode(bookmark);
  if (!record) return {};
  return record->place.realPath.isEmpty() ? record->path : record->place.realPath;
}

}  // namespace Bookmark
