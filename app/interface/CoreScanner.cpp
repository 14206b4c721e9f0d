#include "interface/CoreScanner.h"

#include <pthread.h>

#include <memory>
#include <thread>

#include "interface/StreamingListener.h"

namespace {

// The thread only waits in run; the kernel's name limit is 15 bytes.
void scanThreadBody(const std::shared_ptr<ScanJob>& job, const ScanConfig& config,
                    const std::shared_ptr<StreamingListener>& listener, const ScanEventContinuation& continuation) {
  pthread_setname_np(pthread_self(), "Quelmaris scan");
  job->run(config, listener);
  continuation.finish();
}

}  // namespace

ScanSession CoreScanner::start(const ScanConfig& config) const {
  auto job = std::make_shared<ScanJob>();
  auto [events, continuation] = ScanEventStream::makeUnbounded();
  continuation.setOnTermination([job] { job->cancel(); });
  auto listener = std::make_shared<StreamingListener>(continuation);
  std::thread(scanThreadBody, job, config, std::move(listener), continuation).detach();
  return ScanSession{std::move(events), [job] { job->cancel(); }};
}
