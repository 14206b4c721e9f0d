#include "platform/ProcessEnd.h"

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

namespace ProcessEnd {

namespace {

struct Holds {
  std::mutex mutex;
  std::condition_variable released;
  int count = 0;
  std::atomic<bool> announced{false};
};

// Never destroyed: work that ends after the exit handlers began (in a
// program that ends without announcing it) still releases its hold.
Holds& holds() {
  static Holds* const shared = new Holds;
  return *shared;
}

}  // namespace

struct Hold::Held {
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    Holds& all = holds();
    const std::lock_guard lock(all.mutex);
    if (--all.count == 0) all.released.notify_all();
  }
};

Hold Hold::take() {
  Holds& all = holds();
  const std::lock_guard lock(all.mutex);
  Hold hold;
  if (all.announced) return hold;
  hold.held_ = std::make_shared<const Held>();
  ++all.count;
  return hold;
}

bool announced() { return holds().announced; }

void endWithin(std::chrono::milliseconds wait, int status) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  Holds& all = holds();
  std::unique_lock lock(all.mutex);
  all.announced = true;
  if (!all.released.wait_until(lock, deadline, [&] { return all.count == 0; })) {
    // Every other stream may be locked by a thread stuck in the kernel.
    std::fflush(stdout);
    ::_exit(status);
  }
  std::thread([deadline, status] {
    std::this_thread::sleep_until(deadline);
    ::_exit(status);
  }).detach();
}

}  // namespace ProcessEnd
