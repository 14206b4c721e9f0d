// Times a scan through the application: the real main window, offscreen,
// with its progress card updating, from the Scan action to the finished
// results, then counts the table's rows and times a filter keystroke.
// Compare with scan_bench on the same folder and settings (the stored
// defaults: name and size, verified, 1 KB minimum, automatic I/O).
//
//   app_scan_bench FOLDER
//
// Settings and the folder list live in a temporary XDG home for the run.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cstdio>

#include "folders/FolderStore.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "results/ResultsModel.h"
#include "results/ResultsView.h"
#include "scan/ScanStore.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return std::fprintf(stderr, "usage: app_scan_bench FOLDER\n"), 2;
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
  qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  declareApplicationIdentity();

  QuelmarisApp quelmaris;
  MainWindow& window = quelmaris.showMainWindow();
  quelmaris.folders().add({QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]))});
  auto* scan = window.findChild<QAction*>(QStringLiteral("scanAction"));
  if (scan == nullptr || !scan->isEnabled()) return std::fprintf(stderr, "no Scan action to trigger\n"), 1;

  QElapsedTimer timer;
  timer.start();
  scan->trigger();
  const ScanStore& store = quelmaris.scan();
  if (!QTest::qWaitFor([&] { return !store.state().is<ScanStore::State::scanning>(); }, 600'000))
    return std::fprintf(stderr, "the scan did not end\n"), 1;
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
  std::printf("{\"sets\":%llu,\"table_rows\":%d,\"elapsed_ms\":%lld,\"core_elapsed_ms\":%llu,"
              "\"filter_keystroke_ms\":%lld}\n",
              static_cast<unsigned long long>(finished->summary.sets), results->model()->rowCount(),
              static_cast<long long>(elapsed), static_cast<unsigned long long>(finished->summary.elapsedMs),
              static_cast<long long>(keystroke));
}
