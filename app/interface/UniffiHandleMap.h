// The table of application objects handed to the core by handle. Handles are
// odd, from 1 in steps of 2, and never reused. Its lock is held only to look
// a handle up, insert, clone or remove it; the objects are shared, so a
// looked-up object stays alive after the lock is released.
#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>

#include "interface/Fatal.h"
#include "interface/UniffiInternalError.h"

template <class T>
class UniffiHandleMap {
 public:
  using Object = std::shared_ptr<T>;

  std::uint64_t insert(Object object) {
    const std::lock_guard guard(lock_);
    return insertLocked(std::move(object));
  }

  // Inserts the object of handle again, under a new handle.
  std::uint64_t clone(std::uint64_t handle) {
    const std::lock_guard guard(lock_);
    return insertLocked(findLocked(handle));
  }

  Object get(std::uint64_t handle) {
    const std::lock_guard guard(lock_);
    return findLocked(handle);
  }

  Object remove(std::uint64_t handle) {
    const std::lock_guard guard(lock_);
    auto entry = map_.find(handle);
    if (entry == map_.end()) throw UniffiInternalError(UniffiInternalError::Case::unexpectedStaleHandle);
    Object object = std::move(entry.value());
    map_.erase(entry);
    return object;
  }

 private:
  std::uint64_t insertLocked(Object object) {
    const std::uint64_t handle = currentHandle_;
    if (handle > std::numeric_limits<std::uint64_t>::max() - 2)
      stopProgram(QStringLiteral("UniffiHandleMap: no handle left"));
    currentHandle_ += 2;
    map_.insert(handle, std::move(object));
    return handle;
  }

  Object findLocked(std::uint64_t handle) const {
    const auto entry = map_.constFind(handle);
    if (entry == map_.constEnd()) throw UniffiInternalError(UniffiInternalError::Case::unexpectedStaleHandle);
    return entry.value();
  }

  std::mutex lock_;
  QHash<std::uint64_t, Object> map_;
  std::uint64_t currentHandle_ = 1;
};
