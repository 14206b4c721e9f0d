// The inspector's seam to the file system: a file's current metadata and a
// thumbnail of it. Implementations are called off the main thread, possibly
// from two threads at once, block until they have an answer and never fail:
// a failure becomes a record with `exists` false, or no thumbnail. A
// thumbnail nobody waits for any more is asked to stop; it may give up early.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <stop_token>

#include "inspector/FileMetadata.h"

class FileMetadataProviding {
 public:
  virtual ~FileMetadataProviding() = default;

  virtual FileMetadata metadata(const QString& path) const = 0;
  // A thumbnail that fits a square of side × scale pixels, or none.
  virtual std::optional<QImage> thumbnail(const QString& path, int side, qreal scale, std::stop_token stop) const = 0;
};
