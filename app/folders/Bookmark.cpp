#include "folders/Bookmark.h"

#include <sys/stat.h>

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cstdint>

namespace Bookmark {

namespace {

// Layout: magic, version, device and inode (little-endian), then the path's
// bytes as the file system spells them, to the end.
constexpr char magic[] = {'Q', 'M', 'B', 'K'};
constexpr char version = 1;
constexpr qsizetype identityOffset = sizeof magic + 1;
constexpr qsizetype pathOffset = identityOffset + 2 * sizeof(std::uint64_t);

struct Identity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// The identity of the folder at path, or the errno of why there is none.
std::variant<Identity, int> folderAt(const QByteArray& path) {
  struct stat st {};
  if (::stat(path.constData(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  return Identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

void appendNumber(QByteArray& bytes, std::uint64_t value) {
  char little[sizeof value];
  qToLittleEndian(value, little);
  bytes.append(little, sizeof little);
}

std::uint64_t numberAt(const QByteArray& bytes, qsizetype offset) {
  return qFromLittleEndian<std::uint64_t>(bytes.constData() + offset);
}

QByteArray encode(const Identity& identity, const QByteArray& path) {
  QByteArray bytes(magic, sizeof magic);
  bytes.append(version);
  appendNumber(bytes, identity.device);
  appendNumber(bytes, identity.inode);
  return bytes + path;
}

bool wellFormed(const QByteArray& bookmark) {
  return bookmark.size() > pathOffset && bookmark.startsWith(QByteArrayView(magic, sizeof magic)) &&
         bookmark.at(sizeof magic) == version && bookmark.at(pathOffset) == '/' &&
         !bookmark.sliced(pathOffset).contains('\0');
}

}  // namespace

std::variant<QByteArray, FolderError> make(const QUrl& url) {
  if (!url.isLocalFile()) return FolderLog::errnoError(EINVAL);
  const QByteArray path = QFile::encodeName(url.toLocalFile());
  if (!path.startsWith('/')) return FolderLog::errnoError(EINVAL);
  const auto found = folderAt(path);
  if (const int* error = std::get_if<int>(&found)) return FolderLog::errnoError(*error);
  return encode(std::get<Identity>(found), path);
}

std::optional<Resolved> resolve(const QByteArray& bookmark) {
  if (!wellFormed(bookmark)) return std::nullopt;
  const QByteArray path = bookmark.mid(pathOffset);
  const auto found = folderAt(path);
  const auto* identity = std::get_if<Identity>(&found);
  if (identity == nullptr) return std::nullopt;
  const bool same = identity->device == numberAt(bookmark, identityOffset) &&
                    identity->inode == numberAt(bookmark, identityOffset + sizeof(std::uint64_t));
  return Resolved{QUrl::fromLocalFile(QFile::decodeName(path)), !same};
}

}  // namespace Bookmark
