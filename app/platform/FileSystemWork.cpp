#include "platform/FileSystemWork.h"

#include <map>
#include <string>

#include "trash/MountTable.h"

namespace FileSystemWork {

namespace {

// Paths on one mount shared out among threads of this many: a long list
// answers sooner, and a mount that does not answer holds them all alike.
constexpr qsizetype pathsPerThread = 256;

}  // namespace

QList<QList<qsizetype>> groupedByMount(const QList<QByteArray>& paths) {
  const auto table = FreedesktopTrash::readMountTable();
  std::map<std::string, qsizetype> groupOfMount;
  QList<QList<qsizetype>> groups;
  for (qsizetype offset = 0; offset < paths.size(); ++offset) {
    const auto mount = FreedesktopTrash::mountHolding(paths[offset].toStdString(), table);
    const auto [entry, isNew] = groupOfMount.try_emplace(mount ? mount->point : std::string(), groups.size());
    if (!isNew && groups[entry->second].size() == pathsPerThread) entry->second = groups.size();
    if (entry->second == groups.size()) groups.append(QList<qsizetype>());
    groups[entry->second].append(offset);
  }
  return groups;
}

}  // namespace FileSystemWork
