// The volume that holds a file, as the inspector names it: its name, its
// format in words, and whether it is inside the computer, attached to it or
// on the network. Reentrant; reads the mount table and sysfs on every call.
#pragma once

#include <sys/types.h>

#include <QString>
#include <optional>

#include "inspector/FileMetadata.h"

struct VolumeFacts {
  std::optional<QString> name;
  std::optional<QString> format;
  std::optional<FileMetadata::Location> location;
};

// The volume of an existing file whose device is the given one.
VolumeFacts volumeFacts(const QString& path, dev_t device);

// Network file systems are on the network whatever their device says; block
// devices that can be removed or hang off USB, FireWire or a card reader are
// external, other block devices internal; anything else (tmpfs, overlay)
// has no location. `block` is the device's entry under sysfsRoot + "/dev/block".
std::optional<FileMetadata::Location> locationOf(const QString& fileSystemType, std::optional<dev_t> block,
                                                 const QString& sysfsRoot = QStringLiteral("/sys"));
