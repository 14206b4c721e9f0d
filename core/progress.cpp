#include "progress.hpp"

#include <utility>

namespace quelmaris {

void ProgressReporter::skip(std::string path, SkipReason reason) {
  skipped_count_.fetch_add(1, std::memory_order_relaxed);
  std::lock_guard lock(pending_lock_);
  pending_.push_back(SkippedItem{std::move(path), std::move(reason)});
}

void ProgressReporter::flush(bool force) {
  const auto throttled = [this](Clock::rep now) {
    const auto last = last_emission_ticks_.load(std::memory_order_relaxed);
    return last != 0 && now - last < kThrottle.count();
  };
  if (!force && throttled(Clock::now().time_since_epoch().count())) return;
  std::lock_guard emission(emission_lock_);
  const auto now = Clock::now().time_since_epoch().count();
  if (!force && throttled(now)) return;
  last_emission_ticks_.store(now, std::memory_order_relaxed);

  std::vector<SkippedItem> batch;
  {
    std::lock_guard lock(pending_lock_);
    batch.swap(pending_);
  }
  if (!batch.empty()) listener_.on_event({ScanEvent::Skipped{std::move(batch)}});
  listener_.on_event({ScanEvent::Progress{files_seen.load(std::memory_order_relaxed),
                                          bytes_hashed.load(std::memory_order_relaxed),
                                          bytes_to_hash.load(std::memory_order_relaxed)}});
}

}  // namespace quelmaris
