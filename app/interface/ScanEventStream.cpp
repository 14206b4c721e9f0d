#include "interface/ScanEventStream.h"

#include <QMetaObject>
#include <deque>
#include <mutex>
#include <optional>

// The state both ends share. The lock guards the queue and the state; no
// callback runs under it. Wake-ups are posted under it, so that once the
// consumer has terminated no wake-up can reach its context object.
class ScanEventChannel : public std::enable_shared_from_this<ScanEventChannel> {
 public:
  YieldResult yield(ScanEvent event) {
    const std::lock_guard guard(mutex_);
    if (state_ != State::open) return YieldResult::terminated;
    queue_.push_back(std::move(event));
    wakeLocked();
    return YieldResult::enqueued;
  }

  void finish() {
    std::unique_lock lock(mutex_);
    if (state_ != State::open) return;
    state_ = State::finished;
    wakeLocked();
    runTermination(lock);
  }

  void terminate() {
    std::unique_lock lock(mutex_);
    const bool wasOpen = state_ == State::open;
    state_ = State::terminated;
    receiver_.reset();
    std::deque<ScanEvent> dropped;
    dropped.swap(queue_);
    if (wasOpen) runTermination(lock);
  }

  void setOnTermination(std::function<void()> handler) {
    const std::lock_guard guard(mutex_);
    onTermination_ = std::move(handler);
  }

  void consume(QObject* context, std::function<void(ScanEvent)> onEvent, std::function<void()> onEnd) {
    const std::lock_guard guard(mutex_);
    if (state_ == State::terminated) return;
    receiver_ = std::make_shared<Receiver>(Receiver{context, std::move(onEvent), std::move(onEnd)});
    if (!queue_.empty() || state_ == State::finished) wakeLocked();
  }

  // On the context's thread. Delivers at most the events queued when it
  // starts, so that a busy producer cannot starve the consumer's event loop;
  // a re-entered delivery (a nested event loop) leaves the events to the
  // outer one, which keeps them in order.
  void deliver() {
    std::shared_ptr<Receiver> receiver;
    std::size_t budget = 0;
    {
      const std::lock_guard guard(mutex_);
      wakePosted_ = false;
      if (!receiver_ || delivering_) return;
      receiver = receiver_;
      budget = queue_.size();
      delivering_ = true;
    }
    for (; budget > 0; --budget) {
      std::optional<ScanEvent> event = nextEvent();
      if (!event) break;
      receiver->onEvent(std::move(*event));
    }
    if (endOfDeliveries()) receiver->onEnd();
  }

 private:
  enum class State { open, finished, terminated };

  struct Receiver {
    QObject* context;
    std::function<void(ScanEvent)> onEvent;
    std::function<void()> onEnd;
  };

  std::optional<ScanEvent> nextEvent() {
    const std::lock_guard guard(mutex_);
    if (state_ == State::terminated || queue_.empty()) return std::nullopt;
    ScanEvent event = std::move(queue_.front());
    queue_.pop_front();
    return event;
  }

  // After a delivery: true when the end is to be delivered now.
  bool endOfDeliveries() {
    const std::lock_guard guard(mutex_);
    delivering_ = false;
    if (state_ == State::terminated) return false;
    if (!queue_.empty()) {
      wakeLocked();
      return false;
    }
    if (state_ != State::finished || ended_) return false;
    ended_ = true;
    return true;
  }

  void wakeLocked() {
    if (!receiver_ || wakePosted_) return;
    wakePosted_ = true;
    QMetaObject::invokeMethod(
        receiver_->context, [channel = shared_from_this()] { channel->deliver(); }, Qt::QueuedConnection);
  }

  void runTermination(std::unique_lock<std::mutex>& lock) {
    std::function<void()> handler = std::move(onTermination_);
    onTermination_ = nullptr;
    lock.unlock();
    if (handler) handler();
  }

  std::mutex mutex_;
  std::deque<ScanEvent> queue_;
  State state_ = State::open;
  std::function<void()> onTermination_;
  std::shared_ptr<Receiver> receiver_;
  bool wakePosted_ = false;
  bool delivering_ = false;
  bool ended_ = false;
};

YieldResult ScanEventContinuation::yield(ScanEvent event) const { return channel_->yield(std::move(event)); }

void ScanEventContinuation::finish() const { channel_->finish(); }

void ScanEventContinuation::setOnTermination(std::function<void()> handler) const {
  channel_->setOnTermination(std::move(handler));
}

std::pair<ScanEventStream, ScanEventContinuation> ScanEventStream::makeUnbounded() {
  auto channel = std::make_shared<ScanEventChannel>();
  return {ScanEventStream(channel), ScanEventContinuation(channel)};
}

ScanEventStream& ScanEventStream::operator=(ScanEventStream&& other) noexcept {
  if (this != &other) {
    terminate();
    channel_ = std::move(other.channel_);
  }
  return *this;
}

ScanEventStream::~ScanEventStream() { terminate(); }

void ScanEventStream::consume(QObject* context, std::function<void(ScanEvent)> onEvent, std::function<void()> onEnd) {
  channel_->consume(context, std::move(onEvent), std::move(onEnd));
}

void ScanEventStream::terminate() {
  if (channel_) channel_->terminate();
}
