// Times a scan through the application: the real main window, offscreen,
// with its progress card updating, from the Scan action to the finished
// results, then counts the table's rows and times a filter keystroke.
// Compare with scan_bench on the same folder and settings (the stored
// defaults: name and size, verified, 1 KB minimum, automatic I/O). With
// --scans N it scans N times in the one window, as a user scanning again
// would, and times the last; the peak memory (VmHWM) covers every scan, so
// one scan against two shows whether the previous results are let go.
//
//   app_scan_bench [--scans N] FOLDER
//
// A tree of 100,000 duplicate sets (two copies of a distinct 1 KiB file each):
//   python3 -c 'import os
//   for i in range(100000):
//     for s in "ab":
//       d = f"/tmp/sets/{s}/{i // 1000}"; os.makedirs(d, exist_ok=True)
//       open(f"{d}/{i}.bin", "wb").write(b"%016d" % i * 64 + b"x" * (i % 97))'
//
// Settings and the folder list live in a temporary XDG home for the run.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "folders/FolderStore.h"
#include "process_memory.hpp"
#include "results/ResultsModel.h"
#include "results/ResultsView.h"
#include "scan/ScanStore.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"

int main(int argc, char* argv[]) {
  const bool counted = argc == 4 && std::strcmp(argv[1], "--scans") == 0;
  const int scans = counted ? std::atoi(argv[2]) : 1;
  if ((argc != 2 && !counted) || scans < 1)
    return std::fprintf(stderr, "usage: app_scan_bench [--scans N] FOLDER\n"), 2;
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  declareApplicationIdentity();

  QuelmarisApp quelmaris;
  MainWindow& window = quelmaris.showMainWindow();
  quelmaris.folders().add({QUrl::fromLocalFile(QString::fromLocal8Bit(argv[argc - 1]))});
  auto* scan = window.findChild<QAction*>(QStringLiteral("scanAction"));
  if (scan == nullptr || !scan->isEnabled()) return std::fprintf(stderr, "no Scan action to trigger\n"), 1;

  QElapsedTimer timer;
  const ScanStore& store = quelmaris.scan();
  for (int run = 0; run < scans; ++run) {
    timer.start();
    scan->trigger();
    if (!QTest::qWaitFor([&] { return !store.state().is<ScanStore::State::scanning>(); }, 600'000))
      return std::fprintf(stderr, "the scan did not end\n"), 1;
  }
  const auto elapsed = timer.elapsed();
  const auto* finished = std::get_if<ScanStore::State::finished>(&store.state().value);
  if (finished == nullptr) return std::fprintf(stderr, "the scan did not finish\n"), 1;
  // The results shown, and how soon the window answers a keystroke in the filter.
  const auto* results = window.findChild<ResultsView*>();
  if (results == nullptr) return std::fprintf(stderr, "no results view\n"), 1;
  QCoreApplication::processEvents();
  timer.restart();
  results->model()->setQuery(QStringLiteral("a"));
  QCoreApplication::processEvents();
  const auto keystroke = timer.elapsed();
  results->model()->setQuery({});
  std::printf(
      "{\"scans\":%d,\"sets\":%llu,\"table_rows\":%d,\"elapsed_ms\":%lld,\"core_elapsed_ms\":%llu,"
      "\"filter_keystroke_ms\":%lld,\"peak_mib\":%.0f}\n",
      scans, static_cast<unsigned long long>(finished->summary.sets), results->model()->rowCount(),
      static_cast<long long>(elapsed), static_cast<unsigned long long>(finished->summary.elapsedMs),
      static_cast<long long>(keystroke), memoryMiB("VmHWM:"));
}
