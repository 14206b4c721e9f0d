#include "inspector/SystemFileMetadata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QFile>
#include <QMimeDatabase>
#include <cerrno>
#include <cmath>

#include "inspector/VolumeFacts.h"
#include "platform/BoundedImage.h"
#include "platform/FileTags.h"
#include "platform/RecentFiles.h"
#include "platform/RegularFile.h"
#include "platform/ThumbnailCache.h"

namespace {

// The file as it is now, not following a final symbolic link: 0 or the error number.
int statOf(const QString& path, struct statx& st) {
  const QByteArray name = QFile::encodeName(path);
  return ::statx(AT_FDCWD, name.constData(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &st) == 0 ? 0 : errno;
}

QString mimeNameOf(mode_t mode) {
  if (S_ISDIR(mode)) return QStringLiteral("inode/directory");
  if (S_ISLNK(mode)) return QStringLiteral("inode/symlink");
  if (S_ISFIFO(mode)) return QStringLiteral("inode/fifo");
  if (S_ISCHR(mode)) return QStringLiteral("inode/chardevice");
  if (S_ISBLK(mode)) return QStringLiteral("inode/blockdevice");
  if (S_ISSOCK(mode)) return QStringLiteral("inode/socket");
  return {};
}

// A regular file by its name and first bytes; anything else by its type
// alone, without opening it.
std::optional<QString> kindOf(const QString& path, mode_t mode) {
  const QMimeDatabase database;
  QMimeType type;
  if (!S_ISREG(mode)) {
    type = database.mimeTypeForName(mimeNameOf(mode));
  } else if (const auto file = openRegularFile(path)) {
    type = database.mimeTypeForFileNameAndData(path, file.get());
  } else {
    type = database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
  }
  if (!type.isValid() || type.comment().isEmpty()) return std::nullopt;
  return type.comment();
}

}  // namespace

FileMetadata SystemFileMetadata::metadata(const QString& path) const {
  struct statx st {};
  if (const int error = statOf(path, st); error != 0) {
    FileMetadata unreadable;
    unreadable.exists = error != ENOENT && error != ENOTDIR;
    return unreadable;
  }
  FileMetadata metadata;
  metadata.exists = true;
  metadata.kind = kindOf(path, st.stx_mode);
  metadata.lastOpened = RecentFiles::lastUsed(path);
  metadata.tags = fileTags(path);
  const VolumeFacts volume = volumeFacts(path, makedev(st.stx_dev_major, st.stx_dev_minor));
  metadata.volumeName = volume.name;
  metadata.volumeFormat = volume.format;
  metadata.location = volume.location;
  return metadata;
}

std::optional<QImage> SystemFileMetadata::thumbnail(const QString& path, int side, qreal scale,
                                                    std::stop_token stop) const {
  struct statx st {};
  if (statOf(path, st) != 0 || !S_ISREG(st.stx_mode)) return std::nullopt;
  const int pixels = static_cast<int>(std::lround(side * scale));
  if (auto cached = ThumbnailCache::thumbnail(path, st.stx_mtime.tv_sec, st.stx_size, pixels, stop))
    return cached;
  const auto file = openRegularFile(path);
  if (!file) return std::nullopt;
  return readImageFitting(*file, QSize(pixels, pixels), stop);
}
