#include "inspector/InspectorModel.h"

#include <QCoreApplication>
#include <QPointer>
#include <functional>
#include <stop_token>

#include "folders/SecurityScope.h"
#include "inspector/SystemFileMetadata.h"
#include "platform/MainThread.h"
#include "platform/YieldingPool.h"

namespace {

// The inspector's own threads, so that its fetches never wait behind other
// work of the process. Metadata and pictures have pools of their own: a
// picture may take long to decode, and stale ones must never keep the
// current file's metadata waiting. A stale fetch still running, maybe held
// for good by a mount that stopped answering, gives up its place; past a few
// such, the fetches for that mount wait for one of them to end.
YieldingPool& metadataPool() {
  static YieldingPool pool(4);
  return pool;
}
YieldingPool& picturePool() {
  static YieldingPool pool(2);
  return pool;
}

// Runs on the main thread, if the application is still there.
void onMainThread(std::function<void()> work) {
  if (QCoreApplication* application = QCoreApplication::instance())
    QMetaObject::invokeMethod(application, std::move(work), Qt::QueuedConnection);
}

}  // namespace

// One load: each fetch hands its result to the main thread as soon as it has
// it; the metadata is published at once, the thumbnail after it.
struct InspectorModel::Load {
  QString key;
  QList<QUrl> accessed;
  std::stop_source stop;
  std::shared_ptr<YieldingPool::Ticket> metadataFetch;
  std::shared_ptr<YieldingPool::Ticket> pictureFetch;
  // Main thread only from here on.
  int fetching = 2;
  std::optional<FileMetadata> metadata;
  std::optional<std::optional<QImage>> thumbnail;
};

InspectorModel::InspectorModel(QObject* parent)
    : InspectorModel(std::make_shared<const SystemFileMetadata>(), parent) {}

InspectorModel::InspectorModel(std::shared_ptr<const FileMetadataProviding> provider, QObject* parent)
    : QObject(parent), provider_(std::move(provider)) {}

InspectorModel::~InspectorModel() { cancelLoad(); }

QString InspectorModel::cacheKey(const FileEntry& file) { return file.path + u'|' + QString::number(file.modifiedNs); }

void InspectorModel::show(const std::optional<FileEntry>& file, const QList<QUrl>& roots) {
  requireMainThread();
  const bool same = file ? file_ && file_->path == file->path && file_->modifiedNs == file->modifiedNs : !file_;
  if (same) return;
  cancelLoad();
  setFile(file);
  if (!file) {
    setMetadata(std::nullopt);
    setThumbnail(std::nullopt);
    return;
  }
  const QString key = cacheKey(*file);
  if (const auto hit = cache_.constFind(key); hit != cache_.constEnd()) {
    // A hit keeps its place in the order: the cache is first in, first out.
    setMetadata(hit->first);
    setThumbnail(hit->second);
    return;
  }
  setMetadata(std::nullopt);
  setThumbnail(std::nullopt);
  start(file->path, key, roots);
}

void InspectorModel::start(const QString& path, const QString& key, const QList<QUrl>& roots) {
  auto load = std::make_shared<Load>();
  load->key = key;
  load->accessed = SecurityScope::startAccessing(roots);
  task_ = load;

  // Scoped access ends on the main thread once both fetches are over,
  // whether or not the model is still there to publish.
  const auto arrived = [load, model = QPointer<InspectorModel>(this)](auto publish) {
    onMainThread([load, model, publish = std::move(publish)] {
      if (--load->fetching == 0) SecurityScope::stopAccessing(load->accessed);
      if (model && model->task_ == load) publish(*model);
    });
  };
  // The newest load's fetches go ahead of stale ones still queued; a queued
  // fetch of a cancelled load never starts.
  const int priority = ++loadsStarted_;
  const std::shared_ptr<const FileMetadataProviding> provider = provider_;
  load->metadataFetch = metadataPool().start(
      [load, provider, path, arrived] {
        if (load->stop.stop_requested()) return arrived([](InspectorModel&) {});
        FileMetadata metadata;
        try {
          metadata = provider->metadata(path);
        } catch (const std::exception&) {
          // Out of memory: the file is there, its values are not known.
          metadata.exists = true;
        }
        arrived([load, metadata](InspectorModel& model) { model.metadataRead(load, metadata); });
      },
      priority, path);
  load->pictureFetch = picturePool().start(
      [load, provider, path, arrived] {
        std::optional<QImage> thumbnail;
        try {
          if (!load->stop.stop_requested())
            thumbnail = provider->thumbnail(path, thumbnailSide, thumbnailScale, load->stop.get_token());
        } catch (const std::exception&) {
          // An allocation failure ends this picture, not the application.
          thumbnail.reset();
        }
        arrived([load, thumbnail](InspectorModel& model) { model.thumbnailRead(load, thumbnail); });
      },
      priority, path);
}

void InspectorModel::metadataRead(const std::shared_ptr<Load>& load, const FileMetadata& metadata) {
  load->metadata = metadata;
  setMetadata(metadata);
  if (load->thumbnail) finish(load);
}

void InspectorModel::thumbnailRead(const std::shared_ptr<Load>& load, const std::optional<QImage>& thumbnail) {
  load->thumbnail = thumbnail;
  if (load->metadata) finish(load);
}

void InspectorModel::finish(const std::shared_ptr<Load>& load) {
  task_.reset();
  setThumbnail(*load->thumbnail);
  remember(load->key, {*load->metadata, *load->thumbnail});
}

void InspectorModel::cancelLoad() {
  if (!task_) return;
  task_->stop.request_stop();
  metadataPool().letGo(*task_->metadataFetch);
  picturePool().letGo(*task_->pictureFetch);
  task_.reset();
}

void InspectorModel::remember(const QString& key, const Cached& entry) {
  // Only a load for a key not in the cache gets here, so keys stay unique.
  const bool full = cacheOrder_.size() >= cacheLimit;
  cache_.insert(key, entry);
  cacheOrder_.append(key);
  if (full) cache_.remove(cacheOrder_.takeFirst());
}

void InspectorModel::setFile(const std::optional<FileEntry>& file) {
  if (file_ == file) return;
  file_ = file;
  emit fileChanged();
}

void InspectorModel::setMetadata(const std::optional<FileMetadata>& metadata) {
  if (metadata_ == metadata) return;
  metadata_ = metadata;
  emit metadataChanged();
}

void InspectorModel::setThumbnail(const std::optional<QImage>& thumbnail) {
  if (thumbnail_ == thumbnail) return;
  thumbnail_ = thumbnail;
  emit thumbnailChanged();
}
