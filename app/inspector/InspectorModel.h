// The inspector column's model: for the one file the inspector shows, the
// metadata and thumbnail the file system gives now, loaded off the main
// thread under scoped access on the scan's roots, and the last 64 loaded
// results kept first in, first out, keyed by path and modification time.
//
// Main thread only. One load is current at a time: showing another file
// cancels it, and a cancelled load publishes and caches nothing more. The
// metadata shows as soon as it is read, without waiting for the thumbnail;
// the pair is cached once both are there. A fetch of a cancelled load that
// has not started yet never starts, and a thumbnail being made is asked to
// stop, so that flicking through many rows leaves no stale work behind the
// last one.
// file, metadata and thumbnail notify only when their value changes.
#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>
#include <utility>

#include "inspector/FileMetadata.h"
#include "inspector/FileMetadataProviding.h"
#include "interface/InterfaceRecords.h"

class InspectorModel final : public QObject {
  Q_OBJECT

 public:
  static constexpr qsizetype cacheLimit = 64;
  static constexpr int thumbnailSide = 128;
  static constexpr qreal thumbnailScale = 2.0;

  // Reads the system's metadata.
  explicit InspectorModel(QObject* parent = nullptr);
  InspectorModel(std::shared_ptr<const FileMetadataProviding> provider, QObject* parent = nullptr);
  ~InspectorModel() override;

  const std::optional<FileEntry>& file() const { return file_; }
  const std::optional<FileMetadata>& metadata() const { return metadata_; }
  const std::optional<QImage>& thumbnail() const { return thumbnail_; }
  // The shown file's metadata or thumbnail is yet to come.
  bool isLoading() const { return task_ != nullptr; }

  // Shows the file (none for nothing): returns at once; a cache miss starts a
  // load whose results arrive later through the change signals.
  void show(const std::optional<FileEntry>& file, const QList<QUrl>& roots);

  // "path|modifiedNs": the same path with another modification time is another entry.
  static QString cacheKey(const FileEntry& file);

 signals:
  void fileChanged();
  void metadataChanged();
  void thumbnailChanged();

 private:
  struct Load;
  using Cached = std::pair<FileMetadata, std::optional<QImage>>;

  void start(const QString& path, const QString& key, const QList<QUrl>& roots);
  void metadataRead(const std::shared_ptr<Load>& load, const FileMetadata& metadata);
  void thumbnailRead(const std::shared_ptr<Load>& load, const std::optional<QImage>& thumbnail);
  void finish(const std::shared_ptr<Load>& load);
  void cancelLoad();
  void remember(const QString& key, const Cached& entry);
  void setFile(const std::optional<FileEntry>& file);
  void setMetadata(const std::optional<FileMetadata>& metadata);
  void setThumbnail(const std::optional<QImage>& thumbnail);

  std::optional<FileEntry> file_;
  std::optional<FileMetadata> metadata_;
  std::optional<QImage> thumbnail_;
  const std::shared_ptr<const FileMetadataProviding> provider_;
  std::shared_ptr<Load> task_;
  int loadsStarted_ = 0;
  QHash<QString, Cached> cache_;
  QStringList cacheOrder_;
};
