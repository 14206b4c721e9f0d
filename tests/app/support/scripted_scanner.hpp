// A DuplicateScanning whose sessions the test feeds by hand; cancel only counts,
// as a core that has not answered yet.
#pragma once

#include <memory>
#include <vector>

#include "interface/CoreScanner.h"

namespace apptest {

class ScriptedScanner final : public DuplicateScanning {
 public:
  struct Script {
    ScanConfig config;
    ScanEventContinuation feed;
    std::shared_ptr<int> cancels;
  };

  ScanSession start(const ScanConfig& config) const override {
    auto [events, feed] = ScanEventStream::makeUnbounded();
    auto cancels = std::make_shared<int>(0);
    scripts.push_back(Script{config, feed, cancels});
    return ScanSession{std::move(events), [cancels] { ++*cancels; }};
  }

  mutable std::vector<Script> scripts;
};

}  // namespace apptest
