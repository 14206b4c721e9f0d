// The user's ordered list of watched folders: the roots of every scan, the
// first the most important. Loaded once from the folder-list file when the
// store is made; every add, remove and move, and every reconnect that made a
// bookmark, writes the whole list back. A file that could not be read leaves
// the list empty and is set aside, under a name that says so, before the
// first save would replace it. Failures to make a bookmark in add or to save,
// and the name of a file set aside, go to the log; everything else fails
// silently. Main thread only; all file work happens synchronously in the
// calls.
#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <functional>
#include <optional>

#include "folders/FolderListFile.h"
#include "folders/FolderLog.h"

// One entry of the list. The url is this run's location of the folder and is
// never stored; it is absent when the bookmark did not resolve at load.
struct WatchedFolder {
  QUuid id;
  QString path;
  QByteArray bookmark;
  std::optional<QUrl> url;

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
  void load();
  void save();
  // Appends each folder not listed yet, at the lowest priority; then saves.
  void add(const QList<QUrl>& urls);
  // Then saves, also when no id is listed.
  void remove(const QSet<QUuid>& ids);
  // Moves the folders at fromOffsets (offsets into the list before the move)
  // before the folder that stood at toOffset, keeping their order; toOffset
  // equal to the count moves them to the end. Then saves.
  void move(const QList<qsizetype>& fromOffsets, qsizetype toOffset);
  // Points the listed entry with the folder's id at url, keeping its id and
  // place; nothing happens when the entry is gone or no bookmark can be made.
  void reconnect(const WatchedFolder& folder, const QUrl& url);
  // The locations of the available folders, in list order: a scan's roots.
  QList<QUrl> urls() const;

 signals:
  // Emitted when the list was replaced by a different one and on every change
  // inside it: an entry added, removed, moved or given another location.
  void foldersChanged();

 private:
  void setFolders(QList<WatchedFolder> folders);
  bool listsPath(const QString& path) const;
  void addOne(const QUrl& url);
  void assertOwningThread() const;
  // Sets the file that load could not read aside; false, logged, when it stays.
  bool keepUnreadFile();

  QString storagePath_;
  FailureLog logFailure_;
  QList<WatchedFolder> folders_;
  // Why the file at the storage path could not be read, until it is set aside.
  std::optional<FolderError> unreadFile_;
};
