#include "inspector/VolumeFacts.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>

namespace {

bool isNetworkType(const QString& type) {
  static const QStringList network{
      QStringLiteral("nfs"),         QStringLiteral("nfs4"),       QStringLiteral("cifs"),
      QStringLiteral("smb3"),        QStringLiteral("smbfs"),      QStringLiteral("9p"),
      QStringLiteral("ceph"),        QStringLiteral("afs"),        QStringLiteral("fuse.sshfs"),
      QStringLiteral("fuse.rclone"), QStringLiteral("fuse.davfs"), QStringLiteral("davfs")};
  return network.contains(type);
}

// Readable names of the common formats; others are shown as the kernel names them.
QString formatName(const QString& type) {
  static const QHash<QString, QString> names{
      {QStringLiteral("btrfs"), QStringLiteral("Btrfs")},  {QStringLiteral("xfs"), QStringLiteral("XFS")},
      {QStringLiteral("vfat"), QStringLiteral("FAT")},     {QStringLiteral("exfat"), QStringLiteral("exFAT")},
      {QStringLiteral("ntfs"), QStringLiteral("NTFS")},    {QStringLiteral("ntfs3"), QStringLiteral("NTFS")},
      {QStringLiteral("fuseblk"), QStringLiteral("NTFS")}, {QStringLiteral("nfs"), QStringLiteral("NFS")},
      {QStringLiteral("nfs4"), QStringLiteral("NFS")},     {QStringLiteral("cifs"), QStringLiteral("SMB")},
      {QStringLiteral("smb3"), QStringLiteral("SMB")},     {QStringLiteral("fuse.sshfs"), QStringLiteral("SSHFS")},
  };
  return names.value(type, type);
}

QString blockEntry(const QString& sysfsRoot, dev_t device) {
  return sysfsRoot + QStringLiteral("/dev/block/%1:%2").arg(major(device)).arg(minor(device));
}

// The device a file system is mounted from, when it is a block device. Btrfs
// gives its files an anonymous device that sysfs does not know.
std::optional<dev_t> mountedBlockDevice(const QStorageInfo& volume) {
  struct stat st {};
  if (::stat(volume.device().constData(), &st) != 0 || !S_ISBLK(st.st_mode)) return std::nullopt;
  return st.st_rdev;
}

bool readsOne(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(2).trimmed() == "1";
}

}  // namespace

std::optional<FileMetadata::Location> locationOf(const QString& fileSystemType, std::optional<dev_t> block,
                                                 const QString& sysfsRoot) {
  if (isNetworkType(fileSystemType)) return FileMetadata::Location::network;
  if (!block) return std::nullopt;
  QFileInfo entry(blockEntry(sysfsRoot, *block));
  if (!entry.exists()) return std::nullopt;
  QString disk = entry.canonicalFilePath();
  // A partition's disk is the folder above it.
  if (QFileInfo::exists(disk + QStringLiteral("/partition"))) disk = QFileInfo(disk).path();
  if (readsOne(disk + QStringLiteral("/removable"))) return FileMetadata::Location::external;
  for (const QString& bus : {QStringLiteral("/usb"), QStringLiteral("/firewire"), QStringLiteral("/mmc")})
    if (disk.contains(bus)) return FileMetadata::Location::external;
  return FileMetadata::Location::internal;
}

VolumeFacts volumeFacts(const QString& path, dev_t device) {
  const QStorageInfo volume(path);
  if (!volume.isValid()) return {};
  VolumeFacts facts;
  // Without udev the label is unknown: the mount point names the volume then.
  const QString name = volume.name().isEmpty() ? volume.displayName() : volume.name();
  if (!name.isEmpty()) facts.name = name;
  const QString type = QString::fromUtf8(volume.fileSystemType());
  if (!type.isEmpty()) facts.format = formatName(type);
  const bool known = QFileInfo::exists(blockEntry(QStringLiteral("/sys"), device));
  facts.location = locationOf(type, known ? std::optional<dev_t>(device) : mountedBlockDevice(volume));
  return facts;
}
