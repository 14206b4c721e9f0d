// A thread-safe listener that keeps every event it receives, in arrival order,
// and lets a test act on each one as it arrives (a seam between a scan's steps).
#pragma once

#include "scan_listener.hpp"

#include <functional>
#include <mutex>
#include <vector>

namespace quelmaris::testing {

class RecordingListener : public ScanListener {
public:
  std::function<void(const ScanEvent&)> hook;

  void on_event(const ScanEvent& event) override {
    {
      std::lock_guard lock(mutex_);
      events_.push_back(event);
    }
    if (hook) hook(event);
  }
  std::vector<ScanEvent> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

private:
  mutable std::mutex mutex_;
  std::vector<ScanEvent> events_;
};

// The payloads of one kind of event, in order.
template <class Case>
std::vector<const Case*> all_of(const std::vector<ScanEvent>& events) {
  std::vector<const Case*> out;
  for (const auto& e : events)
    if (const auto* c = std::get_if<Case>(&e.value)) out.push_back(c);
  return out;
}

// Every skipped item of every Skipped batch, in order.
inline std::vector<SkippedItem> skipped_items(const std::vector<ScanEvent>& events) {
  std::vector<SkippedItem> out;
  for (const auto* batch : all_of<ScanEvent::Skipped>(events))
    out.insert(out.end(), batch->items.begin(), batch->items.end());
  return out;
}

}  // namespace quelmaris::testing
