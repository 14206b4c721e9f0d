#include "platform/Mailbox.h"

#include <pthread.h>

#include <mutex>
#include <thread>

#include "platform/ProcessEnd.h"

struct Mailbox::Address::State {
  explicit State(QObject* owner) : receiver(owner) {}
  std::mutex mutex;
  QObject* receiver;
};

void Mailbox::Address::post(std::function<void()> call) const {
  // Posted under the lock, so that the receiver cannot go in between; Qt
  // drops the calls still queued for a receiver that goes.
  const std::lock_guard lock(state_->mutex);
  if (state_->receiver != nullptr) QMetaObject::invokeMethod(state_->receiver, std::move(call), Qt::QueuedConnection);
}

Mailbox::Mailbox(QObject* receiver) { address_.state_ = std::make_shared<Address::State>(receiver); }

Mailbox::~Mailbox() {
  const std::lock_guard lock(address_.state_->mutex);
  address_.state_->receiver = nullptr;
}

void runDetached(std::function<void()> work) {
  ProcessEnd::Hold hold = ProcessEnd::Hold::take();
  if (!hold) return;
  std::thread([hold = std::move(hold), work = std::move(work)] {
    pthread_setname_np(pthread_self(), "qm-fs-work");
    work();
  }).detach();
}
