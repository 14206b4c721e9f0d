// The event stream of one scan. Producers on any thread yield into an
// unbounded queue and never wait; the one consumer receives the events in
// yield order on the thread of a context object it names, woken by queued
// calls, and then, once the stream is finished and drained, its end.
//
// The stream terminates once: when the producer finishes it, or when the
// consumer terminates or drops it. Termination runs the termination handler;
// every yield after it is dropped. Terminating drops the events not yet
// delivered and stops all deliveries, so the consumer must terminate (or drop)
// the stream before its context object goes away.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <utility>

#include "interface/ScanEvent.h"

class ScanEventChannel;

enum class YieldResult { enqueued, terminated };

// The producing end; copies share one stream. Thread-safe.
class ScanEventContinuation {
 public:
  YieldResult yield(ScanEvent event) const;
  // Ends the stream after the events already yielded.
  void finish() const;
  // Called once, on the thread that terminates the stream.
  void setOnTermination(std::function<void()> handler) const;

 private:
  friend class ScanEventStream;
  explicit ScanEventContinuation(std::shared_ptr<ScanEventChannel> channel) : channel_(std::move(channel)) {}
  std::shared_ptr<ScanEventChannel> channel_;
};

// The consuming end. Used on the consumer's thread only.
class ScanEventStream {
 public:
  static std::pair<ScanEventStream, ScanEventContinuation> makeUnbounded();

  ScanEventStream(ScanEventStream&& other) noexcept = default;
  ScanEventStream& operator=(ScanEventStream&& other) noexcept;
  ~ScanEventStream();

  // Starts the deliveries on context's thread: onEvent for every event, one at
  // a time, then onEnd once when the finished stream has no event left. Call
  // once.
  void consume(QObject* context, std::function<void(ScanEvent)> onEvent, std::function<void()> onEnd);

  // The consumer stops: nothing more is delivered.
  void terminate();

 private:
  explicit ScanEventStream(std::shared_ptr<ScanEventChannel> channel) : channel_(std::move(channel)) {}
  std::shared_ptr<ScanEventChannel> channel_;
};
