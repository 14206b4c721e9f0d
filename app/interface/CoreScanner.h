// Starting a scan: DuplicateScanning is the seam the scan store uses;
// CoreScanner runs the core's blocking ScanJob::run on a thread of its own,
// "Quelmaris scan", and hands back a session whose event stream the main
// thread consumes at its own pace. Ending the stream from the consumer's side
// (terminating or dropping it) cancels the scan.
#pragma once

#include <functional>

#include "interface/QuelmarisCore.h"
#include "interface/ScanEventStream.h"

struct ScanSession {
  // One consumer; every event of the scan, Finished or Failed last, then the end.
  ScanEventStream events;
  // Cancels the scan; any thread, any number of times.
  std::function<void()> cancel;
};

class DuplicateScanning {
 public:
  virtual ~DuplicateScanning() = default;
  virtual ScanSession start(const ScanConfig& config) const = 0;
};

class CoreScanner final : public DuplicateScanning {
 public:
  ScanSession start(const ScanConfig& config) const override;
};
