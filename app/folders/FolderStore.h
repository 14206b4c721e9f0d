// The user's ordered list of watched folders: the roots of every scan, the
// first the most important. Loaded once from the folder-list file when the
// store is made; every add, remove and move, and every reconnect that made a
// bookmark, writes the whole list back. A file that could not be read leaves
// the list empty and is set aside, under a name that says so, before the
// first save would replace it. A save keeps the folders that another copy of
// the application, where two run on one file, added to the file meanwhile,
// after this store's own, without listing them here. Failures to make a
// bookmark in add or to save, and the name of a file set aside, go to the
// log; everything else fails silently. Main thread only.
// The list file is read and written in the calls; the work on the folders
// themselves (resolving bookmarks at load, checking what add and reconnect
// are given) runs off the main thread (FileSystemWork), and a folder whose
// file system has not answered after a short wait is dealt with when it
// answers: listed as not responding at load, added or reconnected later.
#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "folders/FolderListFile.h"
#include "folders/FolderLog.h"
#include "platform/Mailbox.h"

// One entry of the list. The url is this run's location of the folder and is
// never stored; it is absent when the bookmark did not resolve at load, and
// while notResponding: the resolution at load has not answered, the folder's
// file system not responding (yet).
struct WatchedFolder {
  QUuid id;
  QString path;
  QByteArray bookmark;
  std::optional<QUrl> url;
  bool notResponding = false;

  bool isAvailable() const { return url.has_value(); }
  friend bool operator==(const WatchedFolder&, const WatchedFolder&) = default;
};

class FolderStore final : public QObject {
  Q_OBJECT
  Q_PROPERTY(QList<WatchedFolder> folders READ folders NOTIFY foldersChanged)

 public:
  using Stored = FolderListFile::Stored;
  using FailureLog = std::function<void(const QString& message, const FolderError& error)>;

  // The folder-list file in the user's data folder, under "Quelmaris".
  static QString defaultStoragePath();

  // Loads the file at once.
  explicit FolderStore(QString storagePath = defaultStoragePath(), FailureLog logFailure = FolderLog::logFailure,
                       QObject* parent = nullptr);

  // In priority order, index 0 first.
  const QList<WatchedFolder>& folders() const { return folders_; }
  const QString& storagePath() const { return storagePath_; }

  // Replaces the list with the file's; renews stale bookmarks and then saves.
  // A folder that has not answered is listed not responding and settles when
  // it answers, saving then if its bookmark was renewed.
  void load();
  void save();
  // Appends each folder not listed yet, at the lowest priority; then saves.
  // One whose file system has not answered is appended, and saved, when it
  // answers.
  void add(const QList<QUrl>& urls);
  // Then saves, also when no id is listed.
  void remove(const QSet<QUuid>& ids);
  // Moves the folders at fromOffsets (offsets into the list before the move)
  // before the folder that stood at toOffset, keeping their order; toOffset
  // equal to the count moves them to the end. Then saves.
  void move(const QList<qsizetype>& fromOffsets, qsizetype toOffset);
  // Points the listed entry with the folder's id at url, keeping its id and
  // place; nothing happens when the entry is gone or no bookmark can be made.
  // When the folder's file system has not answered, that happens when it does.
  void reconnect(const WatchedFolder& folder, const QUrl& url);
  // The locations of the available folders, in list order: a scan's roots.
  QList<QUrl> urls() const;

 signals:
  // Emitted when the list was replaced by a different one and on every change
  // inside it: an entry added, removed, moved or given another location.
  void foldersChanged();

 private:
  struct Resolution;
  struct Addition;
  void setFolders(QList<WatchedFolder> folders);
  bool listsPath(const QString& path) const;
  void addChecked(const Addition& addition);
  void settleLate(std::uint64_t load, const std::vector<Resolution>& resolutions);
  void reconnectChecked(const QUuid& id, const QUrl& url, const QByteArray& bookmark);
  void assertOwningThread() const;
  // Sets the file that load could not read aside; false, logged, when it stays.
  bool keepUnreadFile();
  // The entries of the file on disk that this store never listed, at paths
  // it does not list: added by another copy since this one loaded.
  QList<Stored> addedElsewhere() const;

  QString storagePath_;
  FailureLog logFailure_;
  QList<WatchedFolder> folders_;
  // Every id loaded or added here, removed ones included: the file's other
  // ids are another copy's.
  QSet<QUuid> everListed_;
  // Why the file at the storage path could not be read, until it is set aside.
  std::optional<FolderError> unreadFile_;
  // Late answers of an earlier load are not applied.
  std::uint64_t loads_ = 0;
  // Declared last: closed first, before anything a late answer would touch.
  Mailbox mailbox_{this};
};
