#include "progress.hpp"
#include "recording_listener.hpp"

#include <gtest/gtest.h>

#include <thread>

namespace quelmaris {
namespace {

using testing::RecordingListener;

bool is_progress(const ScanEvent& e) { return std::holds_alternative<ScanEvent::Progress>(e.value); }

TEST(ProgressReporter, a_flush_within_the_throttle_waits_unless_forced_and_sends_pending_items_first_as_one_batch) {
  RecordingListener listener;
  ProgressReporter reporter(listener);
  reporter.files_seen = 3;
  // Hashed bytes count for the file and the scan, and flush within the throttle.
  std::atomic<std::uint64_t> file{0};
  reporter.add_hashed(file, 100);
  reporter.add_hashed(file, 23);
  EXPECT_EQ(file.load(), 123u);
  reporter.bytes_to_hash = 10;
  reporter.flush(true);
  EXPECT_EQ(listener.events(),
            (std::vector<ScanEvent>{{ScanEvent::Progress{3, 100, 0}}, {ScanEvent::Progress{3, 123, 10}}}));

  const std::vector<SkippedItem> items{
      {"/a", {SkipReason::Permission{}}}, {"/b", {SkipReason::Io{5}}}, {"/c", {SkipReason::Changed{}}}};
  for (const SkippedItem& item : items) reporter.skip(item.path, item.reason);
  reporter.flush(true);
  reporter.flush(true);  // nothing pending any more: Progress alone
  const auto events = listener.events();
  const ScanEvent progress{ScanEvent::Progress{3, 123, 10}};
  EXPECT_EQ(std::vector(events.begin() + 2, events.end()),
            (std::vector<ScanEvent>{{ScanEvent::Skipped{items}}, progress, progress}));
  EXPECT_EQ(reporter.skipped_count(), 3u);
}

TEST(ProgressReporter, concurrent_skips_and_flushes_lose_nothing_and_never_split_an_emission) {
  RecordingListener listener;
  ProgressReporter reporter(listener);
  constexpr int kThreads = 8, kPerThread = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&reporter, t] {
      for (int i = 0; i < kPerThread; ++i) {
        reporter.skip("/t" + std::to_string(t) + "/" + std::to_string(i), {SkipReason::InvalidName{}});
        reporter.flush(i % 50 == 0);
      }
    });
  for (auto& thread : threads) thread.join();
  reporter.flush(true);

  const auto events = listener.events();
  std::size_t items = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (const auto* batch = std::get_if<ScanEvent::Skipped>(&events[i].value)) {
      items += batch->items.size();
      ASSERT_LT(i + 1, events.size());
      EXPECT_TRUE(is_progress(events[i + 1])) << "a Skipped batch is always followed by its Progress";
    }
  }
  EXPECT_EQ(items, std::size_t{kThreads * kPerThread});
  EXPECT_EQ(reporter.skipped_count(), std::uint64_t{kThreads * kPerThread});
}

}  // namespace
}  // namespace quelmaris
