#include "progress.hpp"

#include <utility>

namespace quelmaris {

void ProgressReporter::skip(std::string path, SkipReason reason) {
  skipped_count_.fetch_add(1, std::memory_order_relaxed);
  std::lock_guard lock(pending_lock_);
  pending_.push_back(SkippedItem{std::move(path), std::move(reason)});
}

void ProgressReporter::flush(bool force) {
  if (!force) {
    const auto last = last_emission_ticks_.load(std::memory_order_relaxed);
    if (last != 0 && Clock::now().time_since_epoch().count() - last < kThrottle.count()) return;
  }
  std::lock_guard emission(emission_lock_);
  const auto now = Clock::now();
  if (!force && last_emission_ && now - *last_emission_ < kThrottle) return;
  last_emission_ = now;
  last_emission_ticks_.store(now.time_since_epoch().count(), std::memory_order_relaxed);

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
