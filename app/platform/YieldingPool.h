// A pool of threads where work no longer wanted gives up its place. Such work
// may still be running, held in the kernel by a file system that stopped
// answering or busy decoding; once let go it no longer counts against the
// pool's size, which grows by one thread while it runs, so that it never
// keeps newer work waiting. Work that is let go before it starts runs in its
// turn, as it should end at once then. Work on a file names it, and a mount
// holds only a few threads that way: while stuckPerMount pieces let go on the
// file's mount still run, its work waits without a thread, and runs, the
// higher priority first, once one of them has ended; work on other mounts
// goes on. Work holds off the end of the process from its start until it has
// ended (ProcessEnd); once the end is announced, none starts. Made as a
// static, a pool outlives nothing its work uses of Qt's shared readers (MIME
// types, picture plugins), also in a program that ends without announcing
// it. Any thread.
#pragma once

#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

class YieldingPool {
 public:
  // One piece of work started on the pool.
  class Ticket {
   private:
    friend class YieldingPool;
    enum State : int { queued, running, runningLetGo, ended };
    std::atomic<int> state{queued};
    // The mount point of the work's file; empty when it names none.
    std::string mount;
  };

  static constexpr int stuckPerMount = 2;

  explicit YieldingPool(int size);
  YieldingPool(const YieldingPool&) = delete;
  YieldingPool& operator=(const YieldingPool&) = delete;

  // Queued work runs the higher priority first. The ticket of work that does
  // not start, as the process is ending, stays queued.
  std::shared_ptr<Ticket> start(std::function<void()> work, int priority = 0, const QString& file = QString());
  void letGo(Ticket& ticket);

 private:
  // Work let go that still runs on one mount, and work waiting for it to
  // end, by priority, the highest first.
  struct Mount {
    int stuck = 0;
    std::multimap<int, std::function<void()>, std::greater<>> waiting;
  };

  // With mutex_ held.
  void ended(const Ticket& ticket);
  void grow(int threads);

  const int size_;
  std::mutex mutex_;
  int letGo_ = 0;
  std::map<std::string, Mount> mounts_;
  QThreadPool pool_;
};
