// A metadata provider answering from memory, counting calls per path, and holding
// every call at a gate while the test keeps it closed; thumbnails wait at a
// second gate of their own too, as a picture that takes long to decode would,
// until they are asked to stop.
#pragma once

#include <QHash>
#include <QImage>
#include <condition_variable>
#include <mutex>
#include <stop_token>

#include "inspector/FileMetadataProviding.h"

namespace apptest {

class FakeMetadataProvider final : public FileMetadataProviding {
 public:
  // Unless answered otherwise, every file exists and is of the kind named by its path.
  static FileMetadata metadataFor(const QString& path) {
    FileMetadata metadata;
    metadata.exists = true;
    metadata.kind = path;
    return metadata;
  }

  FileMetadata metadata(const QString& path) const override {
    std::unique_lock lock = enter(path);
    return answers_.value(path, metadataFor(path));
  }
  std::optional<QImage> thumbnail(const QString& path, int, qreal, std::stop_token stop) const override {
    std::unique_lock lock = enter(path);
    picturesOpened_.wait(lock, stop, [this] { return picturesOpen_; });
    if (stop.stop_requested()) ++stopped_;
    return thumbnails_.contains(path) ? std::optional(thumbnails_.value(path)) : std::nullopt;
  }

  void answer(const QString& path, const FileMetadata& metadata, std::optional<QImage> thumbnail = std::nullopt) {
    std::lock_guard lock(mutex_);
    answers_.insert(path, metadata);
    if (thumbnail) thumbnails_.insert(path, *thumbnail);
  }
  void close() { setOpen(false); }
  void open() { setOpen(true); }
  void closePictures() { setPicturesOpen(false); }
  void openPictures() { setPicturesOpen(true); }
  // Thumbnails asked to stop while they waited at the gate.
  int stoppedPictures() const {
    std::lock_guard lock(mutex_);
    return stopped_;
  }
  // Calls begun for the path, metadata and thumbnail together.
  int calls(const QString& path) const {
    std::lock_guard lock(mutex_);
    return calls_.value(path);
  }

 private:
  std::unique_lock<std::mutex> enter(const QString& path) const {
    std::unique_lock lock(mutex_);
    ++calls_[path];
    opened_.wait(lock, [this] { return open_; });
    return lock;
  }
  void setOpen(bool open) {
    std::lock_guard lock(mutex_);
    open_ = open;
    opened_.notify_all();
  }

  void setPicturesOpen(bool open) {
    std::lock_guard lock(mutex_);
    picturesOpen_ = open;
    picturesOpened_.notify_all();
  }

  mutable std::mutex mutex_;
  mutable std::condition_variable opened_;
  mutable std::condition_variable_any picturesOpened_;
  bool open_ = true;
  bool picturesOpen_ = true;
  mutable QHash<QString, int> calls_;
  mutable int stopped_ = 0;
  QHash<QString, FileMetadata> answers_;
  QHash<QString, QImage> thumbnails_;
};

}  // namespace apptest
