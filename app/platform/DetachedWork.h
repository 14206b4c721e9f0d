// Runs work that reaches into the user's file system on a thread of its own
// that nobody waits for. A folder on a mount whose server stopped answering
// holds any call into it in the kernel until the server answers, maybe never:
// neither the window nor the end of the program may wait on that, so the
// work runs neither on the main thread nor in the shared thread pool, which
// the application object waits for when it ends. The result comes back
// through the future; a continuation given a context object runs on that
// object's thread, and not at all once the object is gone.
#pragma once

#include <QFuture>
#include <QPromise>
#include <memory>
#include <thread>
#include <type_traits>
#include <utility>

template <class Work>
QFuture<std::invoke_result_t<Work&>> runDetached(Work work) {
  using Result = std::invoke_result_t<Work&>;
  auto promise = std::make_shared<QPromise<Result>>();
  QFuture<Result> future = promise->future();
  promise->start();
  std::thread([promise, work = std::move(work)]() mutable {
    promise->addResult(work());
    promise->finish();
  }).detach();
  return future;
}
