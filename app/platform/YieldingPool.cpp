#include "platform/YieldingPool.h"

#include <QImageReader>
#include <QMimeDatabase>
#include <utility>

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

std::shared_ptr<YieldingPool::Ticket> YieldingPool::start(std::function<void()> work, int priority) {
  auto ticket = std::make_shared<Ticket>();
  pool_.start(
      [this, ticket, work = std::move(work)] {
        ticket->state = Ticket::running;
        work();
        if (ticket->state.exchange(Ticket::ended) == Ticket::runningLetGo) grow(-1);
      },
      priority);
  return ticket;
}

void YieldingPool::letGo(Ticket& ticket) {
  int running = Ticket::running;
  if (ticket.state.compare_exchange_strong(running, Ticket::runningLetGo)) grow(1);
}

void YieldingPool::grow(int threads) {
  const std::lock_guard lock(mutex_);
  letGo_ += threads;
  pool_.setMaxThreadCount(size_ + letGo_);
}
