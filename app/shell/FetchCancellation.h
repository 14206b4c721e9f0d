// The cancellation of a feed fetch, shared by the fetch and the thread doing
// it: the thread looks at it between waits and is woken from a transfer's
// wait when it comes, and a result is handed over only while it has not come.
// Thread-safe.
#pragma once

#include <curl/curl.h>

#include <atomic>
#include <mutex>

class FetchCancellation {
 public:
  bool requested() const { return requested_.load(); }

  // Once this returns, no result is handed over any more.
  void request() {
    const std::lock_guard lock(mutex_);
    requested_ = true;
    if (waiting_ != nullptr) curl_multi_wakeup(waiting_);
  }

  // The transfer to wake while it lives; false, and not kept, when the
  // cancellation has come already.
  bool wakes(CURLM* transfer) {
    const std::lock_guard lock(mutex_);
    if (requested_) return false;
    waiting_ = transfer;
    return true;
  }

  // Before the transfer ends.
  void stopWaking() {
    const std::lock_guard lock(mutex_);
    waiting_ = nullptr;
  }

  // Runs `handOver` unless the cancellation has come, and holds it off until
  // handOver has returned.
  template <class HandOver>
  void unlessRequested(HandOver&& handOver) {
    const std::lock_guard lock(mutex_);
    if (!requested_) handOver();
  }

 private:
  std::mutex mutex_;
  std::atomic<bool> requested_{false};
  CURLM* waiting_ = nullptr;
};
