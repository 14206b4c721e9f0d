#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

#include "interface/ScanEventStream.h"
#include "interface/StreamingListener.h"
#include "app_test_support.hpp"

namespace {

ScanEvent progress(std::uint64_t producer, std::uint64_t index) {
  return ScanEvent{ScanEvent::progress{producer, index, 0}};
}

// Collects what the stream delivers on the main thread.
struct Consumer {
  std::vector<ScanEvent> events;
  int ends = 0;

  void attach(ScanEventStream& stream) {
    stream.consume(
        &apptest::application(), [this](ScanEvent event) { events.push_back(std::move(event)); }, [this] { ++ends; });
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
  std::optional<ScanEventStream> stream;
  auto made = ScanEventStream::makeUnbounded();
  stream.emplace(std::move(made.first));
  const ScanEventContinuation continuation = made.second;
  std::atomic<int> terminations = 0;
  continuation.setOnTermination([&] { ++terminations; });

  int delivered = 0;
  int ends = 0;
  stream->consume(
      &apptest::application(),
      [&](ScanEvent) {
        ++delivered;
        stream.reset();  // the consumer drops the stream while it is being delivered from
      },
      [&] { ++ends; });
  for (std::uint64_t i = 0; i < 5; ++i) continuation.yield(progress(0, i));
  ASSERT_TRUE(apptest::runEventsUntil([&] { return terminations > 0; }));

  EXPECT_EQ(continuation.yield(progress(0, 5)), YieldResult::terminated);
  continuation.finish();
  QCoreApplication::processEvents();
  EXPECT_EQ(delivered, 1);
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(terminations, 1);
}

}  // namespace
