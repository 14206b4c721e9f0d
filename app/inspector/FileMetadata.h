// What the file system reports about a file now, as the inspector shows it
// beside what the scan recorded. A plain value; equal when every field is.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct FileMetadata {
  enum class ICloud : std::uint8_t { notInICloud, downloaded, notDownloaded };
  enum class Location : std::uint8_t { internal, external, network };

  // False only when the file is no longer there; every other field is then empty.
  bool exists = false;
  std::optional<QString> kind;
  std::optional<QDateTime> lastOpened;
  std::optional<QDateTime> added;
  QStringList tags;
  ICloud iCloud = ICloud::notInICloud;
  std::optional<QString> volumeName;
  std::optional<QString> volumeFormat;
  std::optional<Location> location;

  bool operator==(const FileMetadata&) const = default;
};
