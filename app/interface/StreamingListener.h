// The scanner adapter's listener: yields every event into the session's
// stream, from whichever core thread delivers it. A yield after the stream
// has terminated is dropped without a report.
#pragma once

#include <utility>

#include "interface/ScanEventStream.h"
#include "interface/ListenerCallbacks.h"

class StreamingListener final : public ScanListener {
 public:
  explicit StreamingListener(ScanEventContinuation continuation) : continuation_(std::move(continuation)) {}

  void onEvent(ScanEvent event) override { continuation_.yield(std::move(event)); }

 private:
  const ScanEventContinuation continuation_;
};
