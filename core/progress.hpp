// The one sender of Skipped and Progress events of a scan. Workers bump the
// relaxed counters directly and queue unreadable items with skip(); flush()
// emits at most once per 100 ms unless forced, always as an optional Skipped
// batch immediately followed by Progress. Thread-safe. Lock order: the
// emission lock may be held while the pending lock is taken, never the reverse.
#pragma once

#include "records.hpp"
#include "scan_listener.hpp"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace quelmaris {

class ProgressReporter {
public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kThrottle = std::chrono::milliseconds(100);

  explicit ProgressReporter(ScanListener& listener) : listener_(listener) {}

  void skip(std::string path, SkipReason reason);
  void flush(bool force);

  // Progress function of full-file hashing: counts n for the file and the scan.
  void add_hashed(std::atomic<std::uint64_t>& file_counter, std::uint64_t n) {
    file_counter.fetch_add(n, std::memory_order_relaxed);
    bytes_hashed.fetch_add(n, std::memory_order_relaxed);
    flush(false);
  }

  // Number of items queued during the scan so far.
  std::uint64_t skipped_count() const { return skipped_count_.load(std::memory_order_relaxed); }

  std::atomic<std::uint64_t> files_seen{0};
  std::atomic<std::uint64_t> bytes_hashed{0};
  std::atomic<std::uint64_t> bytes_to_hash{0};

private:
  ScanListener& listener_;
  std::mutex emission_lock_;
  // The clock reading of the last emission, 0 before the first. Written under
  // the emission lock, read without it too, so that the many throttled
  // flushes of hashing cost one clock reading and no lock.
  std::atomic<Clock::rep> last_emission_ticks_{0};
  std::mutex pending_lock_;
  std::vector<SkippedItem> pending_;
  // Only the number of queued items is ever read back, so only it is kept.
  std::atomic<std::uint64_t> skipped_count_{0};
};

}  // namespace quelmaris
