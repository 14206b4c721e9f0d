#include "scan_job.hpp"

namespace quelmaris {

// Placeholder until the scan driver lands: reports that nothing could be scanned.
void ScanJob::run(const ScanConfig&, ScanListener& listener) {
  listener.on_event({ScanEvent::Phase{Phase::Listing}});
  listener.on_event({ScanEvent::Failed{"no folder could be scanned"}});
}

}  // namespace quelmaris
