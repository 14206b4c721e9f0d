// One scan: checks the roots, walks them in the walk pool, groups the files,
// verifies candidates in the hash pool and reports everything to the listener,
// ending with Finished or Failed. run() blocks the calling thread (never the
// UI thread) until that last event has been delivered; cancel() may be called
// from any thread, before or during run(). A job is run once.
#pragma once

#include "records.hpp"
#include "scan_listener.hpp"

namespace quelmaris {

class ScanJob {
public:
  void run(const ScanConfig& config, ScanListener& listener);
  void cancel() { cancelled_.store(1, std::memory_order_relaxed); }
  bool is_cancelled() const { return quelmaris::is_cancelled(cancelled_); }

private:
  CancelFlag cancelled_{0};
};

}  // namespace quelmaris
