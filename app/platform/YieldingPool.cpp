#include "platform/YieldingPool.h"

#include <QFile>
#include <QImageReader>
#include <QMimeDatabase>
#include <utility>

#include "platform/MountPoint.h"
#include "platform/ProcessEnd.h"

namespace {

// Qt's shared readers that the work on these pools uses, made before a pool
// so that they outlive it at exit (statics go in the reverse order of their
// making): a pool waits for its work when it goes, and work still running
// then must not find the MIME database or the picture plugins gone.
void makeSharedReaders() {
  const QMimeDatabase mimeTypes;
  Q_UNUSED(mimeTypes);
  QImageReader::supportedImageFormats();
}

}  // namespace

YieldingPool::YieldingPool(int size) : size_((makeSharedReaders(), size)) { pool_.setMaxThreadCount(size); }

std::shared_ptr<YieldingPool::Ticket> YieldingPool::start(std::function<void()> work, int priority,
                                                          const QString& file) {
  auto ticket = std::make_shared<Ticket>();
  const ProcessEnd::Hold hold = ProcessEnd::Hold::take();
  if (!hold) return ticket;
  if (!file.isEmpty()) ticket->mount = mountPointHolding(QFile::encodeName(file));
  auto run = [this, ticket, hold, work = std::move(work)] {
    ticket->state = Ticket::running;
    work();
    const std::lock_guard lock(mutex_);
    if (ticket->state.exchange(Ticket::ended) == Ticket::runningLetGo) ended(*ticket);
  };
  const std::lock_guard lock(mutex_);
  const auto mount = mounts_.find(ticket->mount);
  if (mount != mounts_.end() && mount->second.stuck >= stuckPerMount)
    mount->second.waiting.emplace(priority, std::move(run));
  else
    pool_.start(std::move(run), priority);
  return ticket;
}

void YieldingPool::letGo(Ticket& ticket) {
  const std::lock_guard lock(mutex_);
  int running = Ticket::running;
  if (!ticket.state.compare_exchange_strong(running, Ticket::runningLetGo)) return;
  grow(1);
  if (!ticket.mount.empty()) ++mounts_[ticket.mount].stuck;
}

void YieldingPool::ended(const Ticket& ticket) {
  grow(-1);
  const auto mount = mounts_.find(ticket.mount);
  if (mount == mounts_.end()) return;
  if (--mount->second.stuck < stuckPerMount)
    for (auto& [priority, run] : std::exchange(mount->second.waiting, {})) pool_.start(std::move(run), priority);
  if (mount->second.stuck == 0) mounts_.erase(mount);
}

void YieldingPool::grow(int threads) {
  letGo_ += threads;
  pool_.setMaxThreadCount(size_ + letGo_);
}
