// How long the scan store takes to apply the events of a scan with many
// duplicate sets and to finish it (publish, sort, selection, expansion).
// A scripted scanner hands the store a stream already holding every event,
// sets in batches closed by Progress events as the core sends them; the time
// runs from the session's opening to the finished state.
//
//   store_bench [sets] [sets per progress] [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "scan/ScanStore.h"
#include "prepared_scanner.hpp"

namespace {

FileEntry entry(std::uint64_t id, std::uint32_t root) {
  const QString path = QStringLiteral("/home/user/Pictures/folder-%1/holiday/IMG_%2.jpg").arg(root).arg(id);
  return FileEntry{path,
                   QStringLiteral("IMG_%1.jpg").arg(id),
                   root,
                   4'000'000,
                   1'600'000'000'000'000'000,
                   1'600'000'000'000'000'000,
                   2049,
                   id * 2 + root,
                   1,
                   std::nullopt,
                   false,
                   4'000'000};
}

// Reclaimable figures repeat, so that the stable sort meets many ties.
DuplicateSet set(std::uint64_t id) {
  return DuplicateSet{id,
                      QStringLiteral("IMG_%1.jpg").arg(id),
                      4'000'000,
                      {entry(id, 0), entry(id, 1)},
                      0,
                      {},
                      true,
                      QString(64, QLatin1Char('a')),
                      (id * 7919) % 5'000 * 1'000,
                      false};
}

std::vector<ScanEvent> scanEvents(std::uint64_t sets, std::uint64_t perProgress) {
  std::vector<ScanEvent> events{{ScanEvent::phase{Phase::verifying}}};
  for (std::uint64_t id = 1; id <= sets; ++id) {
    events.push_back({ScanEvent::setReady{set(id)}});
    if (id % perProgress == 0) events.push_back({ScanEvent::progress{id, id, sets}});
  }
  events.push_back({ScanEvent::phase{Phase::done}});
  events.push_back({ScanEvent::finished{ScanSummary{false, sets * 2, sets * 2, sets, 0, sets, 0, false, 0, 0, 0, 4}}});
  return events;
}

std::uint64_t argument(int argc, char** argv, int index, std::uint64_t fallback) {
  return argc > index ? std::strtoull(argv[index], nullptr, 10) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::uint64_t sets = argument(argc, argv, 1, 100'000);
  const std::uint64_t perProgress = std::max<std::uint64_t>(1, argument(argc, argv, 2, 1'000));
  const std::uint64_t runs = argument(argc, argv, 3, 5);

  auto scanner = std::make_shared<PreparedScanner>();
  ScanStore store(scanner);
  ScanOptions options;
  std::vector<double> totals;
  std::vector<double> finishes;
  double doneAt = 0;
  QObject::connect(&store, &ScanStore::phaseChanged, [&] {
    if (store.phase() == Phase::done) doneAt = static_cast<double>(scanner->opened.nsecsElapsed()) / 1e6;
  });
  QObject::connect(&store, &ScanStore::stateChanged, [&] {
    if (!store.state().is<ScanStore::State::finished>()) return;
    const double total = static_cast<double>(scanner->opened.nsecsElapsed()) / 1e6;
    totals.push_back(total);
    finishes.push_back(total - doneAt);
    app.quit();
  });

  for (std::uint64_t run = 0; run < runs; ++run) {
    scanner->events = scanEvents(sets, perProgress);
    store.start({QUrl::fromLocalFile(QStringLiteral("/home/user/Pictures"))}, options);
    app.exec();
    if (store.sets().size() != static_cast<qsizetype>(sets)) return EXIT_FAILURE;
  }
  std::sort(totals.begin(), totals.end());
  std::sort(finishes.begin(), finishes.end());
  std::printf(
      "store: %llu sets, progress every %llu: events and finish %.1f ms (median of %llu, best %.1f), finish %.1f ms\n",
      static_cast<unsigned long long>(sets), static_cast<unsigned long long>(perProgress), totals[totals.size() / 2],
      static_cast<unsigned long long>(runs), totals.front(), finishes[finishes.size() / 2]);
  return EXIT_SUCCESS;
}
