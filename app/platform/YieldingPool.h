// A pool of threads where work no longer wanted gives up its place. Such work
// may still be running, held in the kernel by a file system that stopped
// answering or busy decoding; once let go it no longer counts against the
// pool's size, which grows by one thread while it runs, so that it never
// keeps newer work waiting. Work that is let go before it starts runs in its
// turn, as it should end at once then. Made as a static, a pool outlives
// nothing its work uses of Qt's shared readers (MIME types, picture
// plugins). Any thread.
#pragma once

#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class YieldingPool {
 public:
  // One piece of work started on the pool.
  class Ticket {
   private:
    friend class YieldingPool;
    enum State : int { queued, running, runningLetGo, ended };
    std::atomic<int> state{queued};
  };

  explicit YieldingPool(int size);
  YieldingPool(const YieldingPool&) = delete;
  YieldingPool& operator=(const YieldingPool&) = delete;

  // Queued work runs the higher priority first.
  std::shared_ptr<Ticket> start(std::function<void()> work, int priority = 0);
  void letGo(Ticket& ticket);

 private:
  void grow(int threads);

  const int size_;
  std::mutex mutex_;
  int letGo_ = 0;
  QThreadPool pool_;
};
