#include "inspector/InspectorModel.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <atomic>

#include "folders/SecurityScope.h"
#include "inspector/SystemFileMetadata.h"
#include "platform/MainThread.h"

namespace {

// The inspector's own threads, so that its fetches never wait behind other
// work of the process. A few threads: a stale fetch that has started runs to
// its end, and the current load's two fetches should not wait for it.
QThreadPool& fetchPool() {
  static QThreadPool pool;
  static const bool sized = (pool.setMaxThreadCount(4), true);
  Q_UNUSED(sized);
  return pool;
}

}  // namespace

// One load: the fetches write their result, then the one that ends last
// hands the load back to the main thread.
struct InspectorModel::Load {
  QString key;
  QList<QUrl> accessed;
  std::atomic<bool> cancelled{false};
  std::atomic<int> pending{2};
  std::optional<FileMetadata> metadata;
  std::optional<QImage> thumbnail;
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

  // Runs on the fetching thread that ends last; scoped access ends on the
  // main thread whether or not the model is still there to publish.
  auto done = [load, model = QPointer<InspectorModel>(this)] {
    if (load->pending.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) return;
    QMetaObject::invokeMethod(
        application,
        [load, model] {
          SecurityScope::stopAccessing(load->accessed);
          if (model) model->finish(load);
        },
        Qt::QueuedConnection);
  };
  const std::shared_ptr<const FileMetadataProviding> provider = provider_;
  fetchPool().start([load, provider, path, done] {
    if (!load->cancelled.load()) load->metadata = provider->metadata(path);
    done();
  });
  fetchPool().start([load, provider, path, done] {
    if (!load->cancelled.load()) load->thumbnail = provider->thumbnail(path, thumbnailSide, thumbnailScale);
    done();
  });
}

void InspectorModel::finish(const std::shared_ptr<Load>& load) {
  if (load->cancelled.load() || !load->metadata) return;
  if (task_ == load) task_.reset();
  setMetadata(load->metadata);
  setThumbnail(load->thumbnail);
  remember(load->key, {*load->metadata, load->thumbnail});
}

void InspectorModel::cancelLoad() {
  if (!task_) return;
  task_->cancelled.store(true);
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
