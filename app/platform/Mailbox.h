// Where work that runs on threads nothing waits for hands its results back:
// the work that may wait on a user's file system, which a mount that stopped
// answering can hold in the kernel for good. The receiver owns the mailbox;
// its address may be copied to any thread, and a call posted there runs on
// the receiver's thread by a queued call, unless the mailbox was closed by
// then (its owner closes it when it goes, before the receiver does).
#pragma once

#include <QObject>
#include <functional>
#include <memory>

class Mailbox {
 public:
  class Address {
   public:
    // Any thread, any time.
    void post(std::function<void()> call) const;

   private:
    friend class Mailbox;
    struct State;
    std::shared_ptr<State> state_;
  };

  explicit Mailbox(QObject* receiver);
  ~Mailbox();
  Mailbox(const Mailbox&) = delete;
  Mailbox& operator=(const Mailbox&) = delete;

  const Address& address() const { return address_; }

 private:
  Address address_;
};

// Runs work on a thread of its own that nobody joins: one stuck in the kernel
// holds only itself, and the process ends without it once the end's few
// seconds have passed (ProcessEnd). Once the end is announced, none starts.
void runDetached(std::function<void()> work);
