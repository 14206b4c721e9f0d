// How fast the results view answers on a large scan: 100,000 duplicate sets
// of 3 copies and 10,000 lookalike groups by default. Times the first show,
// entering the filter field (which prepares the query texts), a keystroke, sort clicks, one checkbox toggle with its
// totals, "Select All Copies" and "Expand All Groups", each with the events it posted (a repaint of the window is timed
// apart), counts the model resets that marks caused, and reports the resident memory with the store alone, with the
// view shown, at the end (after every row was expanded once), and the peak (which the prepared events of the load set).
// Runs on the offscreen platform unless another is chosen.
//
//   results_view_bench [sets] [lookalike groups]
#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QUndoStack>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "interface/CoreTrashPlanner.h"
#include "prepared_scanner.hpp"
#include "process_memory.hpp"
#include "results/ResultsActions.h"
#include "results/ResultsModel.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "scan/ScanStore.h"
#include "trash/TrashService.h"

namespace {

FileEntry entry(std::uint64_t id, std::uint32_t root, const char* folder) {
  const QString path =
      QStringLiteral("/home/user/Pictures/folder-%1/%2/IMG_%3.jpg").arg(root).arg(QLatin1String(folder)).arg(id);
  const std::int64_t time = 1'600'000'000'000'000'000 + std::int64_t((id * 104729) % 100'000'000) * 1'000'000'000;
  return FileEntry{path,  QStringLiteral("IMG_%1.jpg").arg(id),
                   root,  4'000'000 + (id % 1000),
                   time,  time,
                   2049,  id * 4 + root,
                   1,     std::nullopt,
                   false, 4'000'000};
}

DuplicateSet set(std::uint64_t id) {
  return DuplicateSet{id,
                      QStringLiteral("IMG_%1.jpg").arg(id),
                      4'000'000 + (id % 1000),
                      {entry(id, 0, "holiday"), entry(id, 1, "holiday"), entry(id, 1, "backup")},
                      0,
                      {},
                      true,
                      QString(64, QLatin1Char('a')),
                      (id * 7919) % 5'000 * 1'000,
                      false};
}

LookalikeGroup group(std::uint64_t id) {
  return LookalikeGroup{
      id, QStringLiteral("notes-%1.txt").arg(id), 2048, {entry(id, 0, "notes"), entry(id, 1, "notes")}};
}

// Runs the step and the events it posted, then repaints the window; the
// repaint's time is reported apart, as the last figure of the step.
double lastRepaint = 0;
double timed(QWidget& window, const std::function<void()>& step) {
  // Work the previous step left queued is not this step's.
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
  QElapsedTimer timer;
  timer.start();
  step();
  QCoreApplication::processEvents();
  const double stepMs = double(timer.nsecsElapsed()) / 1e6;
  timer.restart();
  window.repaint();
  lastRepaint = double(timer.nsecsElapsed()) / 1e6;
  return stepMs;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const std::uint64_t sets = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100'000;
  const std::uint64_t groups = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 10'000;

  auto scanner = std::make_shared<PreparedScanner>();
  for (std::uint64_t id = 1; id <= sets; ++id) scanner->events.push_back({ScanEvent::setReady{set(id)}});
  for (std::uint64_t id = 1; id <= groups; ++id)
    scanner->events.push_back({ScanEvent::lookalikeReady{group(sets + id)}});
  scanner->events.push_back(
      {ScanEvent::finished{ScanSummary{false, sets * 3, sets * 3, sets, groups, sets * 2, 0, false, 0, 0, 0, 4}}});
  ScanStore scan(scanner);
  scan.start({QUrl::fromLocalFile(QStringLiteral("/home/user/Pictures/folder-0")),
              QUrl::fromLocalFile(QStringLiteral("/home/user/Pictures/folder-1"))},
             ScanOptions{});
  while (!scan.state().is<ScanStore::State::finished>()) QCoreApplication::processEvents();
  const double storeMiB = memoryMiB("VmRSS:");

  TrashService trash(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
  QUndoStack undo;
  ResultsView* view = nullptr;
  QWidget window;
  window.resize(1400, 900);
  const double firstShow = timed(window, [&] {
    view = new ResultsView(scan, trash, &undo, &window);
    view->resize(window.size());
    window.show();
  });
  const double windowMiB = memoryMiB("VmRSS:");
  QSignalSpy resets(view->model(), &QAbstractItemModel::modelReset);

  const double focus = timed(window, [&] { view->rows().prepareQuery(ResultsFilter::duplicates); });
  const double firstKey = timed(window, [&] { view->model()->setQuery(QStringLiteral("1")); });
  const double nextKey = timed(window, [&] { view->model()->setQuery(QStringLiteral("12")); });
  timed(window, [&] { view->model()->setQuery({}); });
  const double byName =
      timed(window, [&] { view->table()->sortByColumn(ResultsModel::nameColumn, Qt::AscendingOrder); });
  const double bySize =
      timed(window, [&] { view->table()->sortByColumn(ResultsModel::sizeColumn, Qt::AscendingOrder); });
  const double byDate =
      timed(window, [&] { view->table()->sortByColumn(ResultsModel::modifiedColumn, Qt::DescendingOrder); });
  const int resetsBefore = int(resets.size());
  // A click on the checkbox of the second copy of the first row's set.
  const QModelIndex copy = view->model()->index(1, 0, view->model()->index(0, 0));
  const double firstToggle = timed(window, [&] { emit view->table()->markClicked(copy); });
  timed(window, [&] { emit view->table()->markClicked(copy); });
  const double toggle = timed(window, [&] { emit view->table()->markClicked(copy); });
  const double selectAll = timed(window, [&] { view->actions().selectAllCopies->perform(); });
  const double toggleMarked = timed(window, [&] { emit view->table()->markClicked(copy); });
  const double expandAll = timed(window, [&] { view->actions().expandAll->perform(); });
  const double collapseAll = timed(window, [&] { view->actions().collapseAll->perform(); });
  const int resetsByMarks = int(resets.size()) - resetsBefore;
  const double lookalikes = timed(window, [&] { view->setFilter(ResultsFilter::lookalikes); });
  timed(window, [] {});
  const double repaint = lastRepaint;
  const double endMiB = memoryMiB("VmRSS:");
  const double peak = memoryMiB("VmHWM:");

  std::printf(
      "{\"sets\":%llu,\"lookalike_groups\":%llu,\"first_show_ms\":%.1f,\"filter_focus_ms\":%.1f,"
      "\"filter_first_key_ms\":%.1f,"
      "\"filter_next_key_ms\":%.1f,\"sort_name_ms\":%.1f,\"sort_size_ms\":%.1f,\"sort_modified_ms\":%.1f,"
      "\"first_toggle_ms\":%.2f,\"toggle_ms\":%.2f,\"select_all_ms\":%.1f,\"toggle_after_select_all_ms\":%.2f,\"expand_"
      "all_ms\":%.1f,"
      "\"collapse_all_ms\":%.1f,\"show_lookalikes_ms\":%.1f,\"repaint_ms\":%.1f,\"resets_by_marks\":%d,"
      "\"store_mib\":%.0f,\"shown_mib\":%.0f,\"expanded_once_mib\":%.0f,"
      "\"peak_mib\":%.0f}\n",
      static_cast<unsigned long long>(sets), static_cast<unsigned long long>(groups), firstShow, focus, firstKey,
      nextKey, byName, bySize, byDate, firstToggle, toggle, selectAll, toggleMarked, expandAll, collapseAll, lookalikes,
      repaint, resetsByMarks, storeMiB, windowMiB, endMiB, peak);
  return 0;
}
