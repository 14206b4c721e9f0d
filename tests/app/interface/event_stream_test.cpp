#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>
#include <vector>

#include "app_test_support.hpp"
#include "interface/CoreScanner.h"
#include "interface/ScanEventStream.h"
#include "interface/StreamingListener.h"
#include "temp_tree.hpp"

namespace {

using quelmaris::testing::TempTree;

ScanEvent progress(std::uint64_t producer, std::uint64_t index) {
  return ScanEvent{ScanEvent::progress{producer, index, 0}};
}

// Consumes a stream on the main thread, as the scan store does.
struct Consumer {
  std::vector<ScanEvent> events;
  int ends = 0;
  std::function<void(const ScanEvent&)> hook;

  void attach(ScanEventStream& stream) {
    stream.consume(
        &apptest::application(),
        [this](ScanEvent event) {
          events.push_back(event);
          if (hook) hook(event);
        },
        [this] { ++ends; });
  }

  template <class Case>
  std::vector<Case> all() const {
    std::vector<Case> out;
    for (const auto& e : events)
      if (const auto* c = std::get_if<Case>(&e.value)) out.push_back(*c);
    return out;
  }
  std::vector<Phase> phases() const {
    std::vector<Phase> out;
    for (const auto& p : all<ScanEvent::phase>()) out.push_back(p.phase);
    return out;
  }

  const ScanSummary* summary() const {
    const auto* finished = events.empty() ? nullptr : std::get_if<ScanEvent::finished>(&events.back().value);
    return finished ? &finished->summary : nullptr;
  }
};

TEST(ScanEventStream, events_yielded_from_many_threads_arrive_exactly_once_in_each_threads_order) {
  constexpr std::uint64_t producers = 8;
  constexpr std::uint64_t perProducer = 2000;
  auto [stream, continuation] = ScanEventStream::makeUnbounded();
  Consumer consumer;
  consumer.attach(stream);
  const auto listener = std::make_shared<StreamingListener>(continuation);

  std::thread feeder([&, continuation = continuation] {
    std::vector<std::thread> threads;
    for (std::uint64_t p = 0; p < producers; ++p)
      threads.emplace_back([&, p] {
        for (std::uint64_t i = 0; i < perProducer; ++i) listener->onEvent(progress(p, i));
      });
    for (auto& thread : threads) thread.join();
    continuation.finish();
  });
  const bool ended = apptest::runEventsUntil([&] { return consumer.ends > 0; });
  feeder.join();
  ASSERT_TRUE(ended);

  ASSERT_EQ(consumer.events.size(), producers * perProducer);
  std::map<std::uint64_t, std::uint64_t> nextOf;
  for (const ScanEvent& event : consumer.events) {
    const auto& p = std::get<ScanEvent::progress>(event.value);
    ASSERT_EQ(p.bytesHashed, nextOf[p.filesSeen]++) << "producer " << p.filesSeen;
  }
  EXPECT_EQ(consumer.ends, 1);
}

TEST(ScanEventStream, events_buffered_before_the_consumer_arrives_are_delivered_before_the_end) {
  auto [stream, continuation] = ScanEventStream::makeUnbounded();
  for (std::uint64_t i = 0; i < 3; ++i) EXPECT_EQ(continuation.yield(progress(0, i)), YieldResult::enqueued);
  continuation.finish();
  EXPECT_EQ(continuation.yield(progress(0, 3)), YieldResult::terminated);

  Consumer consumer;
  consumer.attach(stream);
  ASSERT_TRUE(apptest::runEventsUntil([&] { return consumer.ends > 0; }));
  EXPECT_EQ(consumer.events, (std::vector<ScanEvent>{progress(0, 0), progress(0, 1), progress(0, 2)}));
}

TEST(ScanEventStream, termination_runs_its_handler_once_whichever_end_terminates) {
  for (const bool producerFinishesFirst : {true, false}) {
    SCOPED_TRACE(producerFinishesFirst ? "producer finishes" : "consumer terminates");
    auto [stream, continuation] = ScanEventStream::makeUnbounded();
    int calls = 0;
    continuation.setOnTermination([&] { ++calls; });
    if (producerFinishesFirst) continuation.finish();
    stream.terminate();
    continuation.finish();
    stream.terminate();
    EXPECT_EQ(calls, 1);
  }
}

TEST(ScanEventStream, a_consumer_that_stops_inside_a_delivery_receives_nothing_more) {
  auto [made, continuation] = ScanEventStream::makeUnbounded();
  std::optional<ScanEventStream> stream(std::move(made));
  std::atomic<int> terminations = 0;
  continuation.setOnTermination([&] { ++terminations; });
  Consumer consumer;
  consumer.hook = [&](const ScanEvent&) { stream.reset(); };  // dropped while it is being delivered from
  consumer.attach(*stream);
  for (std::uint64_t i = 0; i < 5; ++i) continuation.yield(progress(0, i));
  ASSERT_TRUE(apptest::runEventsUntil([&] { return terminations > 0; }));

  EXPECT_EQ(continuation.yield(progress(0, 5)), YieldResult::terminated);
  continuation.finish();
  QCoreApplication::processEvents();
  EXPECT_EQ(consumer.events.size(), 1u);
  EXPECT_EQ(consumer.ends, 0);
  EXPECT_EQ(terminations, 1);
}

ScanConfig configFor(QList<QString> roots) {
  ScanConfig config = defaultScanConfig();
  config.roots = std::move(roots);
  config.minSize = 1;
  return config;
}

QString text(const std::string& path) { return QString::fromStdString(path); }

// Two identical files far too large to hash in any test's time: a scan of
// them ends only when it is cancelled. They are sparse, so they cost no disk.
QList<QString> endlessRoots(const TempTree& tree) {
  constexpr std::uintmax_t oneTebibyte = std::uintmax_t{1} << 40;
  for (const char* name : {"a/big.bin", "b/big.bin"}) std::filesystem::resize_file(tree.write(name, ""), oneTebibyte);
  return {text(tree.path("a")), text(tree.path("b"))};
}

class ScanSessionTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(apptest::waitForScanThreadsToEnd()) << "a scan thread is still running"; }
};

TEST_F(ScanSessionTest, a_scan_delivers_every_event_on_the_main_thread_then_ends) {
  TempTree tree;
  const std::string nfd = "cafe\xCC\x81.txt";
  tree.write({{"a/" + nfd, "same content"}, {"b/" + nfd, "same content"}});

  ScanSession session = CoreScanner().start(configFor({text(tree.path("a")), text(tree.path("b"))}));
  Consumer consumer;
  consumer.attach(session.events);
  ASSERT_TRUE(apptest::runEventsUntil([&] { return consumer.ends > 0; }));

  EXPECT_EQ(consumer.phases(), (std::vector<Phase>{Phase::listing, Phase::grouping, Phase::verifying, Phase::done}));
  const auto sets = consumer.all<ScanEvent::setReady>();
  ASSERT_EQ(sets.size(), 1u);
  const DuplicateSet& set = sets[0].set;
  EXPECT_EQ(set.displayName.toUtf8().toStdString(), nfd);
  ASSERT_EQ(set.files.size(), 2);
  EXPECT_EQ(set.files[0].path.toStdString(), tree.path("a/" + nfd));
  EXPECT_TRUE(set.verified);
  ASSERT_NE(consumer.summary(), nullptr) << "Finished is the last event";
  EXPECT_FALSE(consumer.summary()->cancelled);
  EXPECT_EQ(consumer.summary()->sets, 1u);
}

// Whether the thread has entered run when the cancel comes is up to the scheduler.
TEST_F(ScanSessionTest, a_cancel_right_after_start_or_during_verification_ends_the_scan_with_a_cancelled_finish) {
  for (const bool atStart : {true, false}) {
    SCOPED_TRACE(atStart ? "right after start" : "during verification");
    TempTree tree;
    ScanSession session = CoreScanner().start(configFor(endlessRoots(tree)));
    if (atStart) session.cancel();
    Consumer consumer;
    bool threadWasNamed = false;
    consumer.hook = [&](const ScanEvent& event) {
      const auto* phase = std::get_if<ScanEvent::phase>(&event.value);
      if (atStart || !phase || phase->phase != Phase::verifying) return;
      threadWasNamed = apptest::scanThreadRunning();
      session.cancel();
    };
    consumer.attach(session.events);
    ASSERT_TRUE(apptest::runEventsUntil([&] { return consumer.ends > 0; }));

    EXPECT_EQ(consumer.phases().front(), Phase::listing);
    EXPECT_NE(consumer.phases().back(), Phase::done);
    EXPECT_TRUE(consumer.all<ScanEvent::setReady>().empty());
    ASSERT_NE(consumer.summary(), nullptr) << "Finished is the last event";
    EXPECT_TRUE(consumer.summary()->cancelled);
    ASSERT_TRUE(apptest::waitForScanThreadsToEnd());
    if (atStart) continue;
    EXPECT_TRUE(threadWasNamed) << "the thread blocked in run is named \"Quelmaris scan\"";
    EXPECT_EQ(consumer.phases(), (std::vector<Phase>{Phase::listing, Phase::grouping, Phase::verifying}));
  }
}

TEST_F(ScanSessionTest, a_consumer_that_goes_away_cancels_the_scan_and_hears_nothing_more) {
  TempTree tree;
  std::optional<ScanSession> session = CoreScanner().start(configFor(endlessRoots(tree)));
  Consumer consumer;
  consumer.hook = [&](const ScanEvent& event) {
    const auto* phase = std::get_if<ScanEvent::phase>(&event.value);
    if (phase && phase->phase == Phase::verifying) session.reset();
  };
  consumer.attach(session->events);

  // Without the cancel the thread would hash for hours.
  ASSERT_TRUE(apptest::runEventsUntil([&] { return !session && !apptest::scanThreadRunning(); }));
  const std::size_t heard = consumer.events.size();
  QCoreApplication::processEvents();
  EXPECT_EQ(consumer.events.size(), heard);
  EXPECT_EQ(consumer.phases().back(), Phase::verifying);
  EXPECT_EQ(consumer.ends, 0);
}

}  // namespace
