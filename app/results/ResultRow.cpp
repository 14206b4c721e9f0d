#include "results/ResultRow.h"

#include <algorithm>

namespace {

double seconds(std::int64_t ns) { return static_cast<double>(ns) / 1e9; }

QString joined(char kind, std::uint64_t id, const QString& path) {
  return QLatin1Char(kind) + QString::number(id) + QLatin1Char('/') + path;
}

}  // namespace

double createdSeconds(const FileEntry& file) { return seconds(file.createdNs.value_or(file.modifiedNs)); }
double modifiedSeconds(const FileEntry& file) { return seconds(file.modifiedNs); }

double earliestCreated(const QList<FileEntry>& files) {
  if (files.isEmpty()) return distantPast;
  double earliest = createdSeconds(files.first());
  for (const FileEntry& file : files) earliest = std::min(earliest, createdSeconds(file));
  return earliest;
}

double latestModified(const QList<FileEntry>& files) {
  if (files.isEmpty()) return distantPast;
  double latest = modifiedSeconds(files.first());
  for (const FileEntry& file : files) latest = std::max(latest, modifiedSeconds(file));
  return latest;
}

QString setRowId(std::uint64_t setId) { return QLatin1Char('s') + QString::number(setId); }
QString fileRowId(std::uint64_t setId, const QString& path) { return joined('f', setId, path); }
QString lookalikeRowId(std::uint64_t groupId, const QString& path) { return joined('l', groupId, path); }
QString groupRowId(std::uint64_t groupId) { return QLatin1Char('g') + QString::number(groupId); }

const FileEntry* ResultRow::file() const {
  switch (kind) {
    case Kind::file:
      return &set->files[index];
    case Kind::lookalike:
      return set != nullptr ? &set->lookalikes[index] : &group->files[index];
    default:
      return nullptr;
  }
}

QString ResultRow::id() const {
  switch (kind) {
    case Kind::set:
      return setRowId(set->id);
    case Kind::file:
      return fileRowId(set->id, file()->path);
    case Kind::lookalike:
      return lookalikeRowId(set != nullptr ? set->id : group->id, file()->path);
    case Kind::lookalikeGroup:
      return groupRowId(group->id);
  }
  return {};
}

QString ResultRow::name() const {
  if (kind == Kind::set) return set->displayName;
  if (kind == Kind::lookalikeGroup) return group->displayName;
  return file()->name;
}

std::uint64_t ResultRow::size() const {
  switch (kind) {
    case Kind::set:
    case Kind::file:
      return set->size;
    case Kind::lookalike:
      return file()->size;
    case Kind::lookalikeGroup:
      return group->size;
  }
  return 0;
}

qsizetype ResultRow::copies() const {
  if (kind == Kind::set) return set->files.size();
  if (kind == Kind::lookalikeGroup) return group->files.size();
  return 0;
}

std::uint64_t ResultRow::recoverable() const { return kind == Kind::set ? set->reclaimable : 0; }

double ResultRow::created() const {
  if (kind == Kind::set) return earliestCreated(set->files);
  if (kind == Kind::lookalikeGroup) return earliestCreated(group->files);
  return createdSeconds(*file());
}

double ResultRow::modified() const {
  if (kind == Kind::set) return latestModified(set->files);
  if (kind == Kind::lookalikeGroup) return latestModified(group->files);
  return modifiedSeconds(*file());
}
