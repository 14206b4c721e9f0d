// Work on the user's files and folders, any step of which may wait on a file
// system that stopped answering (a stat, a bookmark made or resolved, a path
// made canonical, a file read): run off the main thread, one thread per mount
// the paths lie on (more for a long list), so that such a mount holds up
// only its own paths and never the caller. The caller waits a short, fixed while for the answers:
// those given by then come back at once, in the order asked, so that what
// answers looks settled from the first frame; each later answer comes to the
// caller's mailbox, in batches, by queued calls.
#pragma once

#include <QByteArray>
#include <QList>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Mailbox.h"

namespace FileSystemWork {

// Long enough for any file system that answers, short enough to pass unnoticed.
inline constexpr std::chrono::milliseconds answerWait{250};

// The offsets of the paths, grouped by the mount each lies on as its text
// says (nothing is asked of the file system), a long group cut in parts;
// in the order given.
QList<QList<qsizetype>> groupedByMount(const QList<QByteArray>& paths);

// Runs work(i) for the path at each offset i off the main thread and waits
// up to answerWait for the answers. Returns those given in time, by offset;
// each later batch goes to late, on the mailbox's receiver thread. work runs
// on other threads: it may use only what it owns.
template <class Answer>
std::vector<std::optional<Answer>> run(const QList<QByteArray>& paths, std::function<Answer(qsizetype)> work,
                                       const Mailbox::Address& mailbox, std::function<void(std::vector<Answer>)> late) {
  struct Shared {
    std::mutex mutex;
    std::condition_variable answered;
    std::vector<std::optional<Answer>> answers;
    std::size_t count = 0;
    bool pastWait = false;
    std::vector<Answer> pending;
  };
  auto shared = std::make_shared<Shared>();
  shared->answers.resize(static_cast<std::size_t>(paths.size()));
  for (const QList<qsizetype>& group : groupedByMount(paths))
    runDetached([shared, group, work, mailbox, late] {
      for (const qsizetype offset : group) {
        Answer answer = work(offset);
        const std::lock_guard lock(shared->mutex);
        if (!shared->pastWait) {
          shared->answers[static_cast<std::size_t>(offset)] = std::move(answer);
          ++shared->count;
          shared->answered.notify_all();
          continue;
        }
        shared->pending.push_back(std::move(answer));
        // One call takes every answer given until it runs.
        if (shared->pending.size() == 1)
          mailbox.post([shared, late] {
            std::vector<Answer> batch;
            {
              const std::lock_guard taken(shared->mutex);
              batch = std::exchange(shared->pending, {});
            }
            late(std::move(batch));
          });
      }
    });
  std::unique_lock lock(shared->mutex);
  shared->answered.wait_for(lock, answerWait, [&] { return shared->count == shared->answers.size(); });
  shared->pastWait = true;
  return std::exchange(shared->answers, {});
}

}  // namespace FileSystemWork
