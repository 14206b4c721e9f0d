#include "pools.hpp"

#include <gtest/gtest.h>
#include <oneapi/tbb/blocked_range.h>
#include <oneapi/tbb/info.h>
#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/parallel_invoke.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "platform/io_policy.hpp"

namespace quelmaris {
namespace {

using enum MediumKind;

TEST(WorkerCounts, follow_the_medium_and_the_configured_parallelism) {
  // Processors, media, configured parallelism and the counts that follow.
  // clang-format off
  const std::tuple<const char*, std::uint32_t, std::vector<MediumKind>, std::uint32_t, WorkerCounts> cases[] = {
      {"solid state, 12 processors", 12, {SolidState}, 0, {8, 8}}, {"unknown, 3 processors", 3, {Unknown}, 0, {3, 3}},
      {"solid state and unknown", 12, {SolidState, Unknown}, 0, {8, 4}},
      {"any rotational", 12, {SolidState, Rotational, Unknown}, 0, {2, 1}},
      {"io 32 is capped", 12, {SolidState}, 32, {8, 16}}, {"io 3 on rotational", 12, {Rotational}, 3, {2, 3}},
      {"io 16 on unknown", 2, {Unknown}, 16, {2, 16}}, {"zero processors count as one", 0, {SolidState}, 0, {1, 1}},
  };
  // clang-format on
  for (const auto& [name, processors, media, io, expected] : cases)
    EXPECT_EQ(worker_counts(processors, media, io), expected) << name;
}

// Linux keeps 15 bytes of a thread's name: the threads carry the short form.
std::string current_thread_name() {
  char name[16] = {};
  pthread_getname_np(pthread_self(), name, sizeof name);
  return name;
}

// What one task saw while every task of a meeting was running.
struct Seen {
  std::string name;
  bool avoids_atime = false;
  bool on_caller = false;
};

// Runs `parties` tasks in the pool (in TBB's default arena without one) that
// each wait until all of them are running at once: only `parties` distinct
// threads can meet. Returns false when they did not meet in time. The wait is
// a guard against hanging, not a measurement.
bool meet(ScanPool* pool, int parties, std::vector<Seen>* seen = nullptr) {
  const auto caller = std::this_thread::get_id();
  std::atomic<int> arrived{0};
  std::atomic<bool> met{true};
  if (seen) seen->assign(static_cast<std::size_t>(parties), {});
  const auto job = [&] {
    tbb::parallel_for(
        tbb::blocked_range<int>(0, parties, 1),
        [&](const tbb::blocked_range<int>& range) {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
          arrived.fetch_add(1);
          while (arrived.load() < parties) {
            if (std::chrono::steady_clock::now() > deadline) {
              met = false;
              return;
            }
            std::this_thread::yield();
          }
          if (seen)
            (*seen)[static_cast<std::size_t>(range.begin())] = {current_thread_name(), platform::thread_avoids_atime(),
                                                                std::this_thread::get_id() == caller};
        },
        tbb::simple_partitioner());
  };
  pool ? pool->execute(job) : job();
  return met;
}

TEST(ScanPool, more_threads_than_cores_run_at_once_beside_another_oversized_pool) {
  const auto cores = static_cast<std::uint32_t>(tbb::info::default_concurrency());
  auto smaller = ScanPool::build(cores + 1);
  auto larger = ScanPool::build(cores + 4);
  ASSERT_TRUE(smaller.ok() && larger.ok());
  EXPECT_EQ(larger.value()->threads(), cores + 4);
  EXPECT_TRUE(meet(larger.value().get(), static_cast<int>(cores + 4)));
  EXPECT_TRUE(meet(smaller.value().get(), static_cast<int>(cores + 1)));
}

TEST(ScanPool, workers_carry_short_scan_names_the_caller_keeps_its_own_and_all_are_restored_when_the_pool_is_gone) {
  pthread_setname_np(pthread_self(), "pool-test-main");
  const int cores = tbb::info::default_concurrency();
  std::vector<Seen> seen;
  {
    // As many threads as TBB has, so that every worker serves the pool.
    auto pool = ScanPool::build(static_cast<std::uint32_t>(cores));
    ASSERT_TRUE(pool.ok());
    ASSERT_TRUE(meet(pool.value().get(), cores, &seen));
  }
  std::set<std::string> caller_names, worker_names, expected_workers;
  for (int worker = 1; worker < cores; ++worker) expected_workers.insert("qm-scan-" + std::to_string(worker));
  for (const Seen& s : seen) {
    EXPECT_TRUE(s.avoids_atime) << s.name;
    (s.on_caller ? caller_names : worker_names).insert(s.name);
  }
  EXPECT_EQ(caller_names, std::set<std::string>{"pool-test-main"});
  EXPECT_EQ(worker_names, expected_workers);
  EXPECT_EQ(current_thread_name(), "pool-test-main");
  EXPECT_FALSE(platform::thread_avoids_atime());

  // Every TBB worker meets again in the default arena, outside any scan.
  ASSERT_TRUE(meet(nullptr, cores, &seen));
  for (const Seen& s : seen) EXPECT_FALSE(s.avoids_atime || s.name.starts_with("qm-scan-")) << s.name;
}

TEST(ScanPool, an_exception_in_a_nested_parallel_job_reaches_the_caller) {
  auto pool = ScanPool::build(4);
  ASSERT_TRUE(pool.ok());
  try {
    pool.value()->execute([] {
      tbb::parallel_invoke([] {},
                           [] {
                             tbb::parallel_for(0, 100, [](int i) {
                               if (i == 57) throw std::runtime_error("unreadable folder");
                             });
                           });
    });
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "unreadable folder");
  }
  EXPECT_FALSE(platform::thread_avoids_atime());
}

TEST(ScanPool, a_pool_of_one_runs_the_job_on_the_caller_and_one_of_none_is_refused_with_a_reason) {
  auto pool = ScanPool::build(1);
  ASSERT_TRUE(pool.ok());
  std::mutex mutex;
  std::set<std::thread::id> threads;
  pool.value()->execute([&] {
    tbb::parallel_for(0, 64, [&](int) {
      const std::lock_guard lock(mutex);
      threads.insert(std::this_thread::get_id());
    });
  });
  EXPECT_EQ(threads, std::set{std::this_thread::get_id()});
  const auto none = ScanPool::build(0);
  EXPECT_TRUE(!none.ok() && !none.error().empty());
}

}  // namespace
}  // namespace quelmaris
