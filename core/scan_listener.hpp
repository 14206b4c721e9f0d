// The one channel through which a scan reports: every ScanEvent goes to
// on_event, synchronously, on whichever core thread produced it, possibly on
// several threads at once. Implementations must be thread-safe.
#pragma once

#include "records.hpp"

#include <atomic>
#include <cstdint>

namespace quelmaris {

class ScanListener {
public:
  virtual ~ScanListener() = default;
  virtual void on_event(const ScanEvent& event) = 0;
};

// A scan job's cancel flag: one byte, written from any thread, read relaxed.
using CancelFlag = std::atomic<std::uint8_t>;

inline bool is_cancelled(const CancelFlag& flag) { return flag.load(std::memory_order_relaxed) != 0; }

}  // namespace quelmaris
