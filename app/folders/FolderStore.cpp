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
#include "platform/FileSystemWork.h"
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

QByteArray pathBytes(const QUrl& url) { return QFile::encodeName(url.toLocalFile()); }

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

// An entry's bookmark resolved, off the main thread, and made again when
// stale; `renewed` is absent when it needed no renewal or could not be renewed.
struct FolderStore::Resolution {
  // Where the entry stood in the list when it was loaded.
  qsizetype offset = 0;
  QUuid id;
  QByteArray bookmark;
  std::optional<QUrl> url;
  std::optional<QByteArray> renewed;

  static Resolution of(qsizetype offset, const Stored& stored) {
    Resolution resolution{offset, stored.id, stored.bookmark, std::nullopt, std::nullopt};
    const auto found = Bookmark::resolve(stored.bookmark);
    if (!found) return resolution;
    resolution.url = found->url;
    if (!found->stale) return resolution;
    const QList<QUrl> accessed = SecurityScope::startAccessing({found->url});
    const auto made = Bookmark::make(found->url);
    SecurityScope::stopAccessing(accessed);
    if (const auto* bookmark = std::get_if<QByteArray>(&made)) resolution.renewed = *bookmark;
    return resolution;
  }

  // Settles the entry it was made for, if it still waits for it; true when
  // its bookmark was renewed. The entry is looked for where it was loaded
  // first: the list may have changed since, but seldom has.
  bool settle(QList<WatchedFolder>& folders) const {
    const auto isEntry = [this](const WatchedFolder& folder) {
      return folder.id == id && folder.bookmark == bookmark && folder.notResponding;
    };
    const auto entry = offset < folders.size() && isEntry(folders[offset])
                           ? folders.begin() + offset
                           : std::find_if(folders.begin(), folders.end(), isEntry);
    if (entry == folders.end()) return false;
    entry->notResponding = false;
    if (!url) return false;
    entry->url = url;
    entry->path = standardizedPath(*url);
    if (renewed) entry->bookmark = *renewed;
    return renewed.has_value();
  }
};

// A URL given to add, checked off the main thread.
struct FolderStore::Addition {
  QUrl url;
  bool folder = false;
  std::variant<QByteArray, FolderError> bookmark;

  static Addition of(const QUrl& url) {
    if (!isFolder(url)) return {url, false, QByteArray()};
    return {url, true, Bookmark::make(url)};
  }
};

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
  const std::uint64_t load = ++loads_;
  const QList<Stored> records = withDistinctIds(stored.value());
  QList<WatchedFolder> loaded;
  QList<QByteArray> paths;
  for (const Stored& record : records) {
    everListed_.insert(record.id);
    loaded.append(WatchedFolder{record.id, record.path, record.bookmark, std::nullopt, true});
    paths.append(Bookmark::whereItLooks(record.bookmark));
  }
  const auto answers = FileSystemWork::run<Resolution>(
      paths, [records](qsizetype offset) { return Resolution::of(offset, records[offset]); }, mailbox_.address(),
      [this, load](const std::vector<Resolution>& late) { settleLate(load, late); });
  bool renewed = false;
  for (const auto& answer : answers)
    if (answer && answer->settle(loaded)) renewed = true;
  setFolders(std::move(loaded));
  if (renewed) save();
}

void FolderStore::settleLate(std::uint64_t load, const std::vector<Resolution>& resolutions) {
  if (load != loads_) return;
  const QList<WatchedFolder> before = folders_;
  bool renewed = false;
  for (const Resolution& resolution : resolutions)
    if (resolution.settle(folders_)) renewed = true;
  if (folders_ == before) return;
  emit foldersChanged();
  if (renewed) save();
}

void FolderStore::save() {
  assertOwningThread();
  if (unreadFile_ && !keepUnreadFile()) return;
  QList<Stored> records;
  for (const WatchedFolder& folder : std::as_const(folders_))
    records.append(Stored{folder.id, folder.path, folder.bookmark});
  records.append(addedElsewhere());
  if (const auto error = FolderListFile::write(storagePath_, records))
    logFailure_(QStringLiteral("Saving folders failed"), *error);
}

QList<FolderStore::Stored> FolderStore::addedElsewhere() const {
  QList<Stored> added;
  const auto onDisk = FolderListFile::read(storagePath_);
  if (!onDisk) return added;
  for (const Stored& record : onDisk.value())
    if (!everListed_.contains(record.id) && !listsPath(record.path)) added.append(record);
  return added;
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
  QList<QByteArray> paths;
  for (const QUrl& url : urls) paths.append(url.isLocalFile() ? pathBytes(url) : QByteArray());
  const auto answers = FileSystemWork::run<Addition>(
      paths, [urls](qsizetype offset) { return Addition::of(urls[offset]); }, mailbox_.address(),
      [this](const std::vector<Addition>& late) {
        for (const Addition& addition : late) addChecked(addition);
        save();
      });
  for (const auto& answer : answers)
    if (answer) addChecked(*answer);
  save();
}

void FolderStore::addChecked(const Addition& addition) {
  if (!addition.folder) return;
  const QString path = standardizedPath(addition.url);
  if (listsPath(path)) return;
  if (const auto* error = std::get_if<FolderError>(&addition.bookmark)) {
    logFailure_(QStringLiteral("Bookmark creation failed"), *error);
    return;
  }
  folders_.append(WatchedFolder{QUuid::createUuid(), path, std::get<QByteArray>(addition.bookmark), addition.url});
  everListed_.insert(folders_.back().id);
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
  const auto made = [url](qsizetype) { return Bookmark::make(url); };
  const auto apply = [this, id = folder.id, url](const std::variant<QByteArray, FolderError>& bookmark) {
    if (const auto* bytes = std::get_if<QByteArray>(&bookmark)) reconnectChecked(id, url, *bytes);
  };
  const auto answers = FileSystemWork::run<std::variant<QByteArray, FolderError>>(
      {url.isLocalFile() ? pathBytes(url) : QByteArray()}, made, mailbox_.address(),
      [apply](const std::vector<std::variant<QByteArray, FolderError>>& late) { apply(late.front()); });
  if (answers.front()) apply(*answers.front());
}

void FolderStore::reconnectChecked(const QUuid& id, const QUrl& url, const QByteArray& bookmark) {
  const auto entry =
      std::find_if(folders_.begin(), folders_.end(), [&](const WatchedFolder& listed) { return listed.id == id; });
  if (entry == folders_.end()) return;
  entry->bookmark = bookmark;
  entry->url = url;
  entry->path = standardizedPath(url);
  entry->notResponding = false;
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
