// The inspector's metadata from this desktop's own sources: statx for the
// file itself, the shared MIME database for its kind, the recent-files list
// for when it was last opened, its "user.xdg.tags" for its tags, the mount
// table and sysfs for its volume, and for the thumbnail the desktop's
// thumbnail cache, else the picture itself when it is one. Nothing is cached
// here, so every call reads the file system's current state. Stateless and
// thread-safe; only regular files are ever opened, and never blockingly.
#pragma once

#include "inspector/FileMetadataProviding.h"

class SystemFileMetadata final : public FileMetadataProviding {
 public:
  // A file that is gone gives `exists` false. One that is there but cannot
  // be looked at (no permission on its folder, an I/O error) still exists:
  // what cannot be read stays empty.
  FileMetadata metadata(const QString& path) const override;
  std::optional<QImage> thumbnail(const QString& path, int side, qreal scale, std::stop_token stop) const override;
};
