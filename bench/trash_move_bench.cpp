// A move to the Trash from large results: 10,000 marked copies (real files,
// each with its real keeper) among 100,000 duplicate sets. Prints, as one JSON
// line: the time to gather what the confirmation shows (marked files and
// totals), the planner's re-check of every marked file and keeper, the whole
// move through the results, the longest the main thread went without turning
// its event loop while the files moved (from the confirmation on, the plan
// included), the pruning of the moved copies from the results with the
// results view's redraw after it (offscreen unless a platform is chosen), and
// the undo that puts the moved files back, with the longest gap of the event
// loop meanwhile. Everything happens under a temporary XDG_DATA_HOME, so the
// user's own Trash is never touched.
//
//   trash_move_bench [sets] [marked]
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "interface/CoreTrashPlanner.h"
#include "results/ResultsMove.h"
#include "results/ResultsView.h"

namespace {

namespace fs = std::filesystem;

FileEntry realEntry(const std::string& path, std::uint32_t root) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) std::abort();
  const QString text = QString::fromStdString(path);
  return FileEntry{text,
                   text.section(QLatin1Char('/'), -1),
                   root,
                   static_cast<std::uint64_t>(st.st_size),
                   std::nullopt,
                   static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
                   st.st_dev,
                   st.st_ino,
                   static_cast<std::uint32_t>(st.st_nlink),
                   std::nullopt,
                   false,
                   static_cast<std::uint64_t>(st.st_size)};
}

FileEntry absentEntry(std::uint64_t id, std::uint32_t root) {
  const QString path = QStringLiteral("/nowhere/folder-%1/IMG_%2.jpg").arg(root).arg(id);
  return FileEntry{
      path, QStringLiteral("IMG_%1.jpg").arg(id), root, 4096, std::nullopt, 0, 1, id * 2 + root, 1, std::nullopt, false,
      4096};
}

DuplicateSet setOf(std::uint64_t id, FileEntry keeper, FileEntry copy) {
  const std::uint64_t size = keeper.size;
  const std::uint64_t freed = copy.freedBytes.value_or(0);
  return DuplicateSet{id,    keeper.name, size, {std::move(keeper), std::move(copy)},
                      0,     {},          true, QString(64, QLatin1Char('a')),
                      freed, false};
}

// Hands the store the prepared sets as one finished scan.
class PreparedScanner final : public DuplicateScanning {
 public:
  ScanSession start(const ScanConfig&) const override {
    auto [stream, feed] = ScanEventStream::makeUnbounded();
    for (const DuplicateSet& set : sets) feed.yield({ScanEvent::setReady{set}});
    const auto count = static_cast<std::uint64_t>(sets.size());
    feed.yield({ScanEvent::phase{Phase::done}});
    feed.yield({ScanEvent::finished{ScanSummary{false, count * 2, count * 2, count, 0, count, 0, false, 0, 0, 0, 1}}});
    feed.finish();
    return ScanSession{std::move(stream), [] {}};
  }
  QList<DuplicateSet> sets;
};

void runUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

// A store holding the sets, finished, with every copy of the first marked sets marked.
void load(ScanStore& store, const QList<DuplicateSet>& sets, qsizetype marked) {
  store.start({QUrl::fromLocalFile(QStringLiteral("/tmp"))}, ScanOptions{});
  runUntil([&] { return store.state().is<ScanStore::State::finished>() && !store.session(); });
  store.changeSelection([&](SelectionModel& selection) {
    selection.applyMarking(SelectionModel::Marking::selectAllCopies, sets.mid(0, marked));
  });
}

}  // namespace

int main(int argc, char** argv) {
  const qsizetype setCount = argc > 1 ? std::atoll(argv[1]) : 100'000;
  const qsizetype marked = argc > 2 ? std::atoll(argv[2]) : 10'000;
  std::string folder = (fs::temp_directory_path() / "quelmaris-trash-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) return 1;
  ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
  ::setenv("HOME", folder.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);

  auto scanner = std::make_shared<PreparedScanner>();
  for (qsizetype id = 0; id < setCount; ++id) {
    const auto n = static_cast<std::uint64_t>(id);
    if (id >= marked) {
      scanner->sets.append(setOf(n, absentEntry(n, 0), absentEntry(n, 1)));
      continue;
    }
    const std::string name = "/f" + std::to_string(id) + ".bin";
    for (const char* root : {"/a", "/b"}) {
      fs::create_directories(folder + root);
      std::ofstream(folder + root + name) << "content of pair " << id << '\n';
    }
    scanner->sets.append(setOf(n, realEntry(folder + "/a" + name, 0), realEntry(folder + "/b" + name, 1)));
  }
  ScanStore store(scanner);
  load(store, scanner->sets, marked);
  TrashService trash(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
  QUndoStack undoStack;
  ResultsMove move(store, trash, &undoStack);

  QElapsedTimer clock;
  clock.start();
  const QList<FileEntry> files = move.markedFiles();
  const SelectionModel::Totals totals = move.totals();
  const qint64 confirmationMs = clock.elapsed();

  clock.restart();
  const TrashPlan plan = CoreTrashPlanner().plan(store.selection().planSets(store.sets()), false);
  const qint64 planMs = clock.elapsed();

  // The longest gap between turns of the event loop from the confirmation on.
  qint64 longestGapMs = 0;
  QElapsedTimer sinceTick;
  QTimer tick;
  const auto turned = [&] {
    if (sinceTick.isValid()) longestGapMs = std::max(longestGapMs, sinceTick.elapsed());
    sinceTick.restart();
  };
  QObject::connect(&tick, &QTimer::timeout, turned);
  clock.restart();
  sinceTick.start();
  tick.start(5);
  move.confirmMove();
  runUntil([&] { return !move.isMoving(); });
  const qint64 moveMs = clock.elapsed();
  turned();  // the gap up to the end counts too
  tick.stop();
  const qint64 moveGapMs = std::exchange(longestGapMs, 0);

  QSet<QString> movedPaths;
  for (const TrashService::Move& moved : move.lastMove() ? move.lastMove()->moved : move.problems()->moved)
    movedPaths.insert(moved.original.toLocalFile());
  ScanStore again(scanner);
  load(again, scanner->sets, marked);
  ResultsView view(again, trash, &undoStack);
  view.resize(1100, 700);
  view.show();
  QCoreApplication::processEvents();
  view.grab();
  clock.restart();
  again.removeTrashed(movedPaths);
  const qint64 pruneMs = clock.elapsed();
  QCoreApplication::processEvents();
  view.grab();
  const qint64 redrawnMs = clock.elapsed();

  // Undo puts the files back off the main thread, which goes on turning.
  clock.restart();
  sinceTick.start();
  tick.start(5);
  undoStack.undo();
  runUntil([&] { return trash.lastRestore().has_value(); });
  const qint64 undoMs = clock.elapsed();
  turned();
  tick.stop();
  const qsizetype restored = trash.lastRestore()->restored.size();

  std::printf(
      "{\"sets\": %lld, \"marked\": %lld, \"listed\": %lld, \"confirmation_ms\": %lld, \"planned\": %lld, \"plan_ms\": "
      "%lld, "
      "\"moved\": %lld, \"move_ms\": %lld, \"longest_main_thread_gap_ms\": %lld, \"prune_ms\": %lld, "
      "\"prune_and_redraw_ms\": %lld, \"sets_left\": %lld, \"undo_ms\": %lld, \"restored\": %lld, "
      "\"longest_main_thread_gap_in_undo_ms\": %lld}\n",
      static_cast<long long>(setCount), static_cast<long long>(totals.files), static_cast<long long>(files.size()),
      static_cast<long long>(confirmationMs), static_cast<long long>(plan.toMove.size()),
      static_cast<long long>(planMs), static_cast<long long>(movedPaths.size()), static_cast<long long>(moveMs),
      static_cast<long long>(moveGapMs), static_cast<long long>(pruneMs), static_cast<long long>(redrawnMs),
      static_cast<long long>(again.sets().size()), static_cast<long long>(undoMs), static_cast<long long>(restored),
      static_cast<long long>(longestGapMs));
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return 0;
}
