// Runs work that reaches into the user's file system on a thread of its own
// that nobody waits for. A folder on a mount whose server stopped answering
// holds any call into it in the kernel until the server answers, maybe never:
// neither the window nor the end of the program may wait on that, so the
// work runs neither on the main thread nor in the shared thread pool, which
// the application object waits for when it ends.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <memory>
#include <thread>
#include <type_traits>
#include <utility>

// done(result) runs on the context's thread once the work ends, and not at
// all when the context is gone by then.
template <class Work, class Done>
void runDetached(QObject& context, Work work, Done done) {
  using Result = std::invoke_result_t<Work&>;
  auto promise = std::make_shared<QPromise<Result>>();
  promise->start();
  // A watcher, unlike a continuation, lets go of the work safely from any
  // thread when it is deleted with the context.
  auto* watcher = new QFutureWatcher<Result>(&context);
  QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [watcher, done = std::move(done)]() mutable {
    watcher->deleteLater();
    done(watcher->result());
  });
  watcher->setFuture(promise->future());
  std::thread([promise, work = std::move(work)]() mutable {
    promise->addResult(work());
    promise->finish();
  }).detach();
}
