// Times the main window's appearance with a listed folder on a mount whose
// server is stopped (bindfs, then SIGSTOP), against the same list with the
// server answering: from making the application object to the window shown
// and painted once, offscreen. Needs root (or a user namespace) and
// /dev/fuse; each run is a child process in a private mount namespace.
//
//   stopped_mount_bench
//
// Prints one JSON line: both times in milliseconds and how the stopped
// folder's row reads.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <string>

#include "folders/FolderListModel.h"
#include "folders/FolderSidebar.h"
#include "folders/FolderStore.h"
#include "mount_namespace.hpp"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "stopped_fuse_mount.hpp"

namespace {

struct Shown {
  qint64 elapsedMs = -1;
  bool notResponding = false;
};

// In the child: the list of a local folder and one on the mount, the server
// stopped or not, then the window.
Shown windowWith(const std::string& home, bool stopped) {
  const std::string served = home + "/served", top = home + "/mounted";
  std::filesystem::create_directories(served + "/Photos");
  std::filesystem::create_directories(top);
  std::filesystem::create_directories(home + "/Local");
  quelmaris::testing::StoppedFuseMount mount(served, top);
  if (!mount.mounted()) return {};
  setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
  setenv("QUELMARIS_NO_UPDATES", "1", 1);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "stopped_mount_bench";
  static char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  declareApplicationIdentity();
  FolderStore(FolderStore::defaultStoragePath())
      .add({QUrl::fromLocalFile(QString::fromStdString(home + "/Local")),
            QUrl::fromLocalFile(QString::fromStdString(top + "/Photos"))});
  if (stopped) mount.stop();

  QElapsedTimer timer;
  timer.start();
  QuelmarisApp quelmaris;
  MainWindow& window = quelmaris.showMainWindow();
  window.repaint();
  QCoreApplication::processEvents();
  Shown shown{timer.elapsed(), false};
  if (const auto* sidebar = window.findChild<FolderSidebar*>())
    shown.notResponding = sidebar->model()->index(1).data(FolderListModel::IsNotRespondingRole).toBool();
  return shown;
}

// Runs one case in a child; -1 when it could not run.
Shown measured(bool stopped) {
  QTemporaryDir home;
  Shown shown;
  int pipe[2];
  if (::pipe(pipe) != 0) return shown;
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    const Shown inChild = windowWith(home.path().toStdString(), stopped);
    return ::write(pipe[1], &inChild, sizeof inChild) == sizeof inChild ? 0 : 1;
  });
  ::close(pipe[1]);
  if (status != 0 || ::read(pipe[0], &shown, sizeof shown) != sizeof shown) shown = {};
  ::close(pipe[0]);
  return shown;
}

}  // namespace

int main() {
  const Shown answering = measured(false);
  const Shown stopped = measured(true);
  if (answering.elapsedMs < 0 || stopped.elapsedMs < 0)
    return std::fprintf(stderr, "no FUSE mount in a mount namespace here\n"), 1;
  std::printf("{\"window_shown_ms_answering\":%lld,\"window_shown_ms_stopped\":%lld,\"row_not_responding\":%s}\n",
              static_cast<long long>(answering.elapsedMs), static_cast<long long>(stopped.elapsedMs),
              stopped.notResponding ? "true" : "false");
  return 0;
}
