#include "pools.hpp"

#include <oneapi/tbb/global_control.h>
#include <oneapi/tbb/info.h>
#include <oneapi/tbb/task_arena.h>
#include <oneapi/tbb/task_scheduler_observer.h>
#include <pthread.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "platform/io_policy.hpp"

namespace quelmaris {

WorkerCounts worker_counts(std::uint32_t processors, const std::vector<MediumKind>& media,
                           std::uint32_t io_parallelism) {
  const std::uint32_t p = std::max(processors, 1u);
  const auto any = [&](MediumKind kind) { return std::find(media.begin(), media.end(), kind) != media.end(); };
  const bool rotational = any(MediumKind::Rotational);

  WorkerCounts counts{};
  counts.walk = rotational ? 2 : std::min(p, 8u);
  if (io_parallelism != 0) {
    counts.hash = std::min(io_parallelism, 16u);
  } else if (rotational) {
    counts.hash = 1;
  } else {
    counts.hash = any(MediumKind::Unknown) ? std::min(p, 4u) : std::min(p, 8u);
  }
  return counts;
}

std::string scan_thread_name(std::uint32_t index) { return "quelmaris-scan-" + std::to_string(index); }

void scan_thread_start(std::uint32_t index) {
  // Linux keeps at most 15 bytes of a thread's name, too few for the full
  // name, so the kernel sees the short form. No allocation: this runs inside
  // the scheduler's callbacks.
  constexpr std::string_view prefix = "qm-scan-";
  std::array<char, 16> name{};
  std::copy(prefix.begin(), prefix.end(), name.begin());
  std::to_chars(name.data() + prefix.size(), name.data() + name.size() - 1, index);
  (void)::pthread_setname_np(::pthread_self(), name.data());
  platform::set_thread_avoids_atime(true);
}

namespace {

// TBB enforces the smallest of all live max_allowed_parallelism controls, so
// two pools that each kept their own would cap one another (a walk pool of 2
// would hold a hash pool of 16 to 2). One control carries the largest count
// that any live pool asked for.
class ParallelismRequests {
 public:
  static ParallelismRequests& instance() {
    static ParallelismRequests requests;
    return requests;
  }

  void add(std::size_t threads) {
    const std::lock_guard lock(mutex_);
    live_.insert(threads);
    apply();
  }

  void remove(std::size_t threads) {
    const std::lock_guard lock(mutex_);
    live_.erase(live_.find(threads));
    apply();
  }

 private:
  void apply() {
    const std::size_t wanted = live_.empty() ? 0 : *live_.rbegin();
    if (wanted == granted_) return;
    control_.reset();
    if (wanted != 0) control_.emplace(tbb::global_control::max_allowed_parallelism, wanted);
    granted_ = wanted;
  }

  std::mutex mutex_;
  std::multiset<std::size_t> live_;
  std::optional<tbb::global_control> control_;
  std::size_t granted_ = 0;
};

class ParallelismLease {
 public:
  explicit ParallelismLease(std::size_t threads) : threads_(threads) { ParallelismRequests::instance().add(threads); }
  ~ParallelismLease() { ParallelismRequests::instance().remove(threads_); }
  ParallelismLease(const ParallelismLease&) = delete;
  ParallelismLease& operator=(const ParallelismLease&) = delete;

 private:
  std::size_t threads_;
};

// The pool's start hook. TBB workers are shared by every arena of the process
// and move between them, so a worker is prepared as it enters this arena and
// given back its own name and I/O flag as it leaves. The thread that calls
// execute is not a worker: it keeps its name, and execute sets its flag.
class ScanThreadObserver final : public tbb::task_scheduler_observer {
 public:
  ScanThreadObserver(tbb::task_arena& arena, std::uint32_t slots) : task_scheduler_observer(arena), saved_(slots) {
    observe(true);
  }

  ~ScanThreadObserver() override {
    // Once the observer is off TBB tells it nothing more, so a worker still
    // inside would keep the scan's name and flag for good: let them all leave.
    while (workers_inside_.load(std::memory_order_acquire) != 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    observe(false);
  }

  ScanThreadObserver(const ScanThreadObserver&) = delete;
  ScanThreadObserver& operator=(const ScanThreadObserver&) = delete;

  void on_scheduler_entry(bool is_worker) override {
    Saved* saved = is_worker ? slot_state() : nullptr;
    if (saved == nullptr) return;
    saved->has_name = ::pthread_getname_np(::pthread_self(), saved->name.data(), saved->name.size()) == 0;
    saved->avoids_atime = platform::thread_avoids_atime();
    workers_inside_.fetch_add(1, std::memory_order_relaxed);
    scan_thread_start(static_cast<std::uint32_t>(tbb::this_task_arena::current_thread_index()));
  }

  void on_scheduler_exit(bool is_worker) override {
    Saved* saved = is_worker ? slot_state() : nullptr;
    if (saved == nullptr) return;
    if (saved->has_name) (void)::pthread_setname_np(::pthread_self(), saved->name.data());
    platform::set_thread_avoids_atime(saved->avoids_atime);
    workers_inside_.fetch_sub(1, std::memory_order_release);
  }

 private:
  struct Saved {
    std::array<char, 16> name{};
    bool has_name = false;
    bool avoids_atime = false;
  };

  // A slot holds one thread at a time, and TBB calls the exit hook before the
  // slot is released, so what a worker saved on entry is its own at exit.
  Saved* slot_state() {
    const int slot = tbb::this_task_arena::current_thread_index();
    if (slot < 0 || static_cast<std::size_t>(slot) >= saved_.size()) return nullptr;
    return &saved_[static_cast<std::size_t>(slot)];
  }

  std::vector<Saved> saved_;
  std::atomic<int> workers_inside_{0};
};

}  // namespace

// The arena has `threads` slots, one of them reserved for the thread that calls
// execute: that thread works in slot 0 (index 0, keeping its own name) and
// threads - 1 workers join it in slots 1 and up, named after their slot index.
// Members are destroyed in reverse: workers leave, then the arena goes, then
// the parallelism it needed.
struct ScanPool::Impl {
  explicit Impl(std::uint32_t threads)
      : lease(needs_more_than_default(threads) ? std::make_optional<std::size_t>(threads) : std::nullopt),
        arena(static_cast<int>(threads), 1),
        observer(arena, threads) {
    arena.initialize();
  }

  static bool needs_more_than_default(std::uint32_t threads) {
    return threads > static_cast<std::uint32_t>(std::max(tbb::info::default_concurrency(), 1));
  }

  std::optional<ParallelismLease> lease;
  tbb::task_arena arena;
  ScanThreadObserver observer;
};

Result<std::unique_ptr<ScanPool>, std::string> ScanPool::build(std::uint32_t threads) {
  if (threads == 0 || threads > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
    return Failure(std::string("a worker pool needs between 1 and 2147483647 threads"));
  try {
    return std::unique_ptr<ScanPool>(new ScanPool(threads));
  } catch (const std::exception& error) {
    return Failure(std::string(error.what()));
  } catch (...) {
    return Failure(std::string("the worker pool could not be started"));
  }
}

ScanPool::ScanPool(std::uint32_t threads) : impl_(std::make_unique<Impl>(threads)), threads_(threads) {}

ScanPool::~ScanPool() = default;

void ScanPool::execute_impl(const std::function<void()>& job) {
  impl_->arena.execute([&job] {
    struct RestoreFlag {
      bool before = platform::thread_avoids_atime();
      ~RestoreFlag() { platform::set_thread_avoids_atime(before); }
    } restore;
    platform::set_thread_avoids_atime(true);
    job();
  });
}

}  // namespace quelmaris
