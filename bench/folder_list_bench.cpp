// Times the folder list's file at the size of a very long list: the load of
// the store (reading, checking and decoding the file, resolving each
// bookmark), the whole way from the application object to its main window
// shown (offscreen unless told otherwise), and one save of the whole list.
// The folders are real and all resolve.
//
//   folder_list_bench [folders] [runs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "folders/FolderStore.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"

namespace {

qsizetype argument(int argc, char** argv, int index, qsizetype fallback) {
  return argc > index ? std::strtoll(argv[index], nullptr, 10) : fallback;
}

double millisecondsOf(QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir root;
  qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
  qputenv("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toUtf8());
  qputenv("QUELMARIS_NO_UPDATES", "1");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  declareApplicationIdentity();
  const qsizetype count = std::max<qsizetype>(1, argument(argc, argv, 1, 10'000));
  const qsizetype runs = std::max<qsizetype>(1, argument(argc, argv, 2, 5));

  const QString storage = FolderStore::defaultStoragePath();
  QList<QUrl> urls;
  for (qsizetype i = 0; i < count; ++i) {
    const QString folder = root.filePath(QStringLiteral("Pictures/holiday %1/camera").arg(i));
    if (!QDir().mkpath(folder)) return EXIT_FAILURE;
    urls.append(QUrl::fromLocalFile(folder));
  }
  FolderStore(storage).add(urls);

  std::vector<double> windows;
  std::vector<double> loads;
  std::vector<double> saves;
  for (qsizetype run = 0; run < runs; ++run) {
    QElapsedTimer timer;
    timer.start();
    {
      QuelmarisApp quelmaris;
      MainWindow& window = quelmaris.showMainWindow();
      if (!QTest::qWaitForWindowExposed(&window) || quelmaris.folders().folders().size() != count) return EXIT_FAILURE;
      windows.push_back(millisecondsOf(timer));
    }
    timer.restart();
    FolderStore store(storage);
    loads.push_back(millisecondsOf(timer));
    timer.restart();
    store.save();
    saves.push_back(millisecondsOf(timer));
  }
  std::printf(
      "{\"bench\":\"folder_list\",\"folders\":%lld,\"file_bytes\":%lld,\"to_window_ms\":%.1f,\"load_ms\":%.1f,"
      "\"save_ms\":%.1f,\"runs\":%lld}\n",
      static_cast<long long>(count), static_cast<long long>(QFileInfo(storage).size()), median(windows), median(loads),
      median(saves), static_cast<long long>(runs));
  return EXIT_SUCCESS;
}
