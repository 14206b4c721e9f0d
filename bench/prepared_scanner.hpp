// A scanner for the benchmarks: its first session yields the prepared events
// at once and finishes, so that what is timed is the store and the views, not
// a scan. `opened` starts when that session opens.
#pragma once

#include <QElapsedTimer>
#include <vector>

#include "interface/CoreScanner.h"
#include "interface/ScanEventStream.h"

class PreparedScanner final : public DuplicateScanning {
 public:
  ScanSession start(const ScanConfig&) const override {
    auto [stream, feed] = ScanEventStream::makeUnbounded();
    for (ScanEvent& event : events) feed.yield(std::move(event));
    feed.finish();
    events.clear();
    opened.start();
    return ScanSession{std::move(stream), [] {}};
  }

  mutable std::vector<ScanEvent> events;
  mutable QElapsedTimer opened;
};
