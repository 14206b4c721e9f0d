// A thread-safe listener that keeps every event it receives, in arrival order.
#pragma once

#include "scan_listener.hpp"

#include <mutex>
#include <vector>

namespace quelmaris::testing {

class RecordingListener : public ScanListener {
public:
  void on_event(const ScanEvent& event) override {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  std::vector<ScanEvent> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

private:
  mutable std::mutex mutex_;
  std::vector<ScanEvent> events_;
};

}  // namespace quelmaris::testing
