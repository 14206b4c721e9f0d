#include "folders/FolderStore.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <set>
#include <utility>

#include "folders/Bookmark.h"
#include "folders/SecurityScope.h"
#include "platform/DamagedFile.h"
#include "platform/UserFolders.h"

namespace {

// The path as the folder's standardized file URL spells it: "." and ".."
// resolved, a trailing "/" kept, no percent escapes.
QString standardizedPath(const QUrl& url) { return url.adjusted(QUrl::NormalizePathSegments).toLocalFile(); }

// Paths are the same text when canonically equivalent; case counts.
bool samePath(const QString& a, const QString& b) {
  return a == b || a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

bool isFolder(const QUrl& url) {
  struct stat st {};
  return url.isLocalFile() && ::stat(QFile::encodeName(url.toLocalFile()).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes the folder's bookmark again under scoped access; false when no
// bookmark could be made and the old one stays.
bool renewBookmark(WatchedFolder& folder) {
  const QList<QUrl> accessed = SecurityScope::startAccessing({*folder.url});
  const auto made = Bookmark::make(*folder.url);
  SecurityScope::stopAccessing(accessed);
  const auto* bookmark = std::get_if<QByteArray>(&made);
  if (bookmark == nullptr) return false;
  folder.bookmark = *bookmark;
  return true;
}

// The entry as found now; renewed is set when its bookmark was made again.
WatchedFolder resolvedFolder(const FolderStore::Stored& stored, bool& renewed) {
  WatchedFolder folder{stored.id, stored.path, stored.bookmark, std::nullopt};
  const auto found = Bookmark::resolve(stored.bookmark);
  if (!found) return folder;
  folder.url = found->url;
  folder.path = standardizedPath(found->url);
  if (found->stale && renewBookmark(folder)) renewed = true;
  return folder;
}

// A merged or hand-edited file can list an id twice; each entry must be told
// apart from every other, so a repeated id gives way to a fresh one.
QList<FolderStore::Stored> withDistinctIds(QList<FolderStore::Stored> records) {
  QSet<QUuid> seen;
  for (FolderStore::Stored& record : records) {
    while (seen.contains(record.id)) record.id = QUuid::createUuid();
    seen.insert(record.id);
  }
  return records;
}

}  // namespace

QString FolderStore::defaultStoragePath() {
  return UserFolders::dataHome() + QStringLiteral("/Quelmaris/folders.json");
}

FolderStore::FolderStore(QString storagePath, FailureLog logFailure, QObject* parent)
    : QObject(parent), storagePath_(std::move(storagePath)), logFailure_(std::move(logFailure)) {
  load();
}

void FolderStore::load() {
  assertOwningThread();
  const auto stored = FolderListFile::read(storagePath_);
  unreadFile_.reset();
  if (!stored) {
    if (!FolderListFile::isAbsent(stored.error())) unreadFile_ = stored.error();
    return;
  }
  bool renewed = false;
  QList<WatchedFolder> loaded;
  for (const Stored& record : withDistinctIds(stored.value())) loaded.append(resolvedFolder(record, renewed));
  setFolders(std::move(loaded));
  if (renewed) save();
}

void FolderStore::save() {
  assertOwningThread();
  if (unreadFile_ && !keepUnreadFile()) return;
  QList<Stored> records;
  for (const WatchedFolder& folder : std::as_const(folders_))
    records.append(Stored{folder.id, folder.path, folder.bookmark});
  if (const auto error = FolderListFile::write(storagePath_, records))
    logFailure_(QStringLiteral("Saving folders failed"), *error);
}

bool FolderStore::keepUnreadFile() {
  const auto kept = setDamagedFileAside(storagePath_, QDateTime::currentDateTime());
  if (!kept && !FolderListFile::isAbsent(FolderLog::errnoError(kept.error()))) {
    logFailure_(QStringLiteral("Saving folders failed"), FolderLog::errnoError(kept.error()));
    return false;
  }
  if (kept)
    logFailure_(QStringLiteral("Damaged folder list kept as %1").arg(QFileInfo(kept.value()).fileName()), *unreadFile_);
  unreadFile_.reset();
  return true;
}

void FolderStore::add(const QList<QUrl>& urls) {
  assertOwningThread();
  for (const QUrl& url : urls) addOne(url);
  save();
}

void FolderStore::addOne(const QUrl& url) {
  if (!isFolder(url)) return;
  const QString path = standardizedPath(url);
  if (listsPath(path)) return;
  const auto made = Bookmark::make(url);
  if (const auto* error = std::get_if<FolderError>(&made)) {
    logFailure_(QStringLiteral("Bookmark creation failed"), *error);
    return;
  }
  folders_.append(WatchedFolder{QUuid::createUuid(), path, std::get<QByteArray>(made), url});
  emit foldersChanged();
}

bool FolderStore::listsPath(const QString& path) const {
  return std::any_of(folders_.cbegin(), folders_.cend(),
                     [&](const WatchedFolder& folder) { return samePath(folder.path, path); });
}

void FolderStore::remove(const QSet<QUuid>& ids) {
  assertOwningThread();
  folders_.removeIf([&](const WatchedFolder& folder) { return ids.contains(folder.id); });
  emit foldersChanged();
  save();
}

void FolderStore::move(const QList<qsizetype>& fromOffsets, qsizetype toOffset) {
  assertOwningThread();
  std::set<qsizetype> offsets;
  for (const qsizetype offset : fromOffsets)
    if (offset >= 0 && offset < folders_.size()) offsets.insert(offset);
  const qsizetype target = std::clamp<qsizetype>(toOffset, 0, folders_.size());
  QList<WatchedFolder> moved;
  QList<WatchedFolder> others;
  for (qsizetype i = 0; i < folders_.size(); ++i) (offsets.count(i) ? moved : others).append(folders_[i]);
  const auto movedBefore = std::distance(offsets.begin(), offsets.lower_bound(target));
  for (qsizetype i = 0; i < moved.size(); ++i) others.insert(target - movedBefore + i, moved[i]);
  folders_ = std::move(others);
  emit foldersChanged();
  save();
}

void FolderStore::reconnect(const WatchedFolder& folder, const QUrl& url) {
  assertOwningThread();
  const auto entry = std::find_if(folders_.begin(), folders_.end(),
                                  [&](const WatchedFolder& listed) { return listed.id == folder.id; });
  if (entry == folders_.end()) return;
  const auto made = Bookmark::make(url);
  const auto* bookmark = std::get_if<QByteArray>(&made);
  if (bookmark == nullptr) return;
  entry->bookmark = *bookmark;
  entry->url = url;
  entry->path = standardizedPath(url);
  emit foldersChanged();
  save();
}

QList<QUrl> FolderStore::urls() const {
  QList<QUrl> available;
  for (const WatchedFolder& folder : folders_)
    if (folder.url) available.append(*folder.url);
  return available;
}

void FolderStore::setFolders(QList<WatchedFolder> folders) {
  if (folders == folders_) return;
  folders_ = std::move(folders);
  emit foldersChanged();
}

void FolderStore::assertOwningThread() const { Q_ASSERT(QThread::currentThread() == thread()); }
