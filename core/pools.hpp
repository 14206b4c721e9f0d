// The scan's two worker pools (walk and hash) and how they are sized from the
// storage medium under the roots. A pool is a TBB arena that lives for one
// scan; an observer names its threads and sets their I/O policy as they join.
#pragma once

#include "result.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quelmaris {

enum class MediumKind : std::uint8_t { SolidState, Rotational, Unknown };

// Never fails: anything that cannot be found out is Unknown.
MediumKind storage_medium(const std::string& path);

struct WorkerCounts {
  std::uint32_t walk;
  std::uint32_t hash;
  bool operator==(const WorkerCounts&) const = default;
};
WorkerCounts worker_counts(std::uint32_t processors, const std::vector<MediumKind>& media,
                           std::uint32_t io_parallelism);

std::string scan_thread_name(std::uint32_t index);
// Run on every pool thread as it starts work for the scan.
void scan_thread_start(std::uint32_t index);

class ScanPool {
public:
  // The error text is the pool facility's own.
  static Result<std::unique_ptr<ScanPool>, std::string> build(std::uint32_t threads);
  ~ScanPool();
  ScanPool(const ScanPool&) = delete;
  ScanPool& operator=(const ScanPool&) = delete;

  std::uint32_t threads() const { return threads_; }

  // Runs job inside the pool and returns when it is done; exceptions reach the
  // caller. The calling thread is one of the pool's threads (index 0): it works
  // in the job under its own name, with the scan's I/O policy only until execute
  // returns. Nested parallel algorithms in the job stay in the pool.
  template <class F>
  void execute(F&& job) {
    execute_impl(std::function<void()>(std::forward<F>(job)));
  }

private:
  explicit ScanPool(std::uint32_t threads);
  void execute_impl(const std::function<void()>& job);
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::uint32_t threads_;
};

}  // namespace quelmaris
