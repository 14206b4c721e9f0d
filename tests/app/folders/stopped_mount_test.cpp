// A listed folder on a mount whose server stopped answering (bindfs, then
// SIGSTOP): the window never waits on it. Each test runs in a child process
// of its own, in a private mount namespace, with an application object of
// its own; an alarm ends a child that hangs, which fails the test.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "app_test_support.hpp"
#include "folders/FolderListModel.h"
#include "folders/FolderStore.h"
#include "inspector/InspectorModel.h"
#include "interface/CoreScanner.h"
#include "mount_namespace.hpp"
#include "platform/ProcessEnd.h"
#include "results/QuickLookPreview.h"
#include "scan/ScanStore.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "stopped_fuse_mount.hpp"
#include "temp_tree.hpp"

namespace {

namespace fs = std::filesystem;
using quelmaris::testing::StoppedFuseMount;
using quelmaris::testing::TempTree;

constexpr int kCannotMount = 90;
// Longer than anything here takes on any machine: only a hang reaches it.
constexpr unsigned kHangSeconds = 120;
constexpr int kEventsWait = 60'000;

QString qs(const std::string& text) { return QString::fromStdString(text); }
QUrl urlOf(const std::string& path) { return QUrl::fromLocalFile(qs(path)); }

// The failure of a check in the child, reported by its exit status.
#define CHECK_OR_RETURN(condition, status)            \
  if (!(condition)) {                                 \
    std::fprintf(stderr, "failed: %s\n", #condition); \
    return status;                                    \
  }

// Runs the body in a private mount namespace with "served" mounted at
// "mounted" (both folders of the tree), the application object made and the
// data home in the tree; the body stops the server when it wants.
class StoppedMountTest : public ::testing::Test {
 protected:
  int run(const std::function<int(StoppedFuseMount&)>& body) {
    return quelmaris::testing::run_in_private_mount_namespace([&] {
      ::alarm(kHangSeconds);
      StoppedFuseMount mount(served, top);
      if (!mount.mounted()) return kCannotMount;
      ::setenv("XDG_DATA_HOME", tree.path("data").c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", tree.path("config").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      static int argc = 1;
      static char name[] = "stopped_mount_test";
      static char* argv[] = {name, nullptr};
      QApplication application(argc, argv);
      declareApplicationIdentity();
      return body(mount);
    });
  }
  void expectPassed(int status) {
    if (status == kCannotMount || status == quelmaris::testing::kNoMountNamespace)
      GTEST_SKIP() << "no FUSE mount in a mount namespace here";
    EXPECT_EQ(status, 0);
  }

  TempTree tree;
  const std::string served = fs::canonical(tree.mkdir("served")).string();
  const std::string top = fs::canonical(tree.mkdir("mounted")).string();
  const QString storage = qs(tree.path("data/Quelmaris/folders.json"));
};

TEST_F(StoppedMountTest, the_list_loads_at_once_with_the_stopped_folder_not_responding_and_settles_when_it_answers) {
  tree.mkdir("served/Photos");
  const std::string local = tree.mkdir("Local");
  expectPassed(run([&](StoppedFuseMount& mount) {
    FolderStore(storage).add({urlOf(local), urlOf(top + "/Photos")});
    mount.stop();
    FolderStore store(storage);
    CHECK_OR_RETURN(store.folders().size() == 2, 1);
    CHECK_OR_RETURN(store.folders()[0].isAvailable() && !store.folders()[0].notResponding, 2);
    CHECK_OR_RETURN(!store.folders()[1].isAvailable() && store.folders()[1].notResponding, 3);
    CHECK_OR_RETURN(store.urls() == QList<QUrl>{urlOf(local)}, 4);
    FolderListModel rows(store, KeepChoice::oldest);
    const QModelIndex stopped = rows.index(1);
    CHECK_OR_RETURN(stopped.data(FolderListModel::SubtitleRole).toString().startsWith("Not Responding \u2014 "), 5);
    CHECK_OR_RETURN(stopped.data(Qt::AccessibleDescriptionRole) == "Not Responding", 6);
    CHECK_OR_RETURN(stopped.data(FolderListModel::IsNotRespondingRole).toBool(), 7);

    mount.resume();
    CHECK_OR_RETURN(QTest::qWaitFor([&] { return store.folders()[1].isAvailable(); }, kEventsWait), 8);
    CHECK_OR_RETURN(!rows.index(1).data(FolderListModel::IsNotRespondingRole).toBool(), 9);
    CHECK_OR_RETURN(store.urls() == (QList<QUrl>{urlOf(local), urlOf(top + "/Photos")}), 10);
    return 0;
  }));
}

TEST_F(StoppedMountTest, adding_or_reconnecting_a_stopped_folder_returns_at_once_and_takes_effect_when_it_answers) {
  tree.mkdir("served/Dropped");
  tree.mkdir("served/Moved");
  const std::string local = tree.mkdir("Local");
  expectPassed(run([&](StoppedFuseMount& mount) {
    FolderStore store(storage);
    store.add({urlOf(local)});
    const WatchedFolder listed = store.folders().front();
    mount.stop();
    // As a drop on the sidebar or the open dialog hands them over.
    store.add({urlOf(top + "/Dropped")});
    store.reconnect(listed, urlOf(top + "/Moved"));
    CHECK_OR_RETURN(store.folders() == QList<WatchedFolder>{listed}, 1);
    // A store gone before the answer comes never hears of it.
    const QString otherStorage = qs(tree.path("other/folders.json"));
    std::make_unique<FolderStore>(otherStorage)->add({urlOf(top + "/Dropped")});

    mount.resume();
    CHECK_OR_RETURN(
        QTest::qWaitFor([&] { return store.folders().size() == 2 && store.folders()[0].path != listed.path; },
                        kEventsWait),
        2);
    CHECK_OR_RETURN(store.folders()[0].id == listed.id && store.folders()[0].path == qs(top + "/Moved"), 3);
    CHECK_OR_RETURN(store.folders()[1].path == qs(top + "/Dropped"), 4);
    CHECK_OR_RETURN(FolderStore(storage).folders().size() == 2, 5);
    QTest::qWait(200);
    const auto other = FolderListFile::read(otherStorage);
    CHECK_OR_RETURN(other && other.value().isEmpty(), 6);
    return 0;
  }));
}

TEST_F(StoppedMountTest, a_scan_of_a_stopped_folder_starts_and_stops) {
  tree.write("served/Photos/a.jpg", "photo");
  expectPassed(run([&](StoppedFuseMount& mount) {
    mount.stop();
    ScanStore store(std::make_shared<CoreScanner>());
    store.start({urlOf(top + "/Photos")}, ScanOptions());
    CHECK_OR_RETURN(store.state().is<ScanStore::State::scanning>(), 1);
    CHECK_OR_RETURN(QTest::qWaitFor([&] { return store.session() != nullptr; }, kEventsWait), 2);
    // The scan thread waits on the folder: only Stop can end the scan.
    store.cancel();
    CHECK_OR_RETURN(
        QTest::qWaitFor([&] { return store.state().is<ScanStore::State::idle>() && !store.session(); }, kEventsWait),
        3);
    return 0;
  }));
}

TEST_F(StoppedMountTest, the_preview_of_a_stopped_file_opens_at_once_with_its_name_and_shows_the_file_when_it_answers) {
  tree.write("served/notes.txt", "first line");
  expectPassed(run([&](StoppedFuseMount& mount) {
    mount.stop();
    QuickLookPreview preview;
    preview.showFile(qs(top + "/notes.txt"));
    CHECK_OR_RETURN(preview.isVisible() && preview.shownKind() == "loading", 1);
    CHECK_OR_RETURN(preview.windowTitle() == "notes.txt", 2);
    mount.resume();
    CHECK_OR_RETURN(QTest::qWaitFor([&] { return preview.shownKind() == "text"; }, kEventsWait), 3);
    return 0;
  }));
}

// Files on the mount looked at and left, each read stuck in the kernel, never
// keep a file elsewhere waiting: more of them than either window has threads.
TEST_F(StoppedMountTest, stuck_reads_of_files_left_behind_never_keep_the_inspector_or_the_preview_waiting) {
  constexpr int left = 6;
  for (int n = 0; n < left; ++n) tree.write("served/stuck" + std::to_string(n) + ".txt", "stuck");
  const QString notes = qs(tree.write("notes.txt", "here"));
  const auto entry = [](const QString& path) {
    return FileEntry{path, path.section(u'/', -1), 0, 5, std::nullopt, 1, 1, 1, 1, std::nullopt, false, 5};
  };
  expectPassed(run([&](StoppedFuseMount& mount) {
    mount.stop();
    InspectorModel inspector;
    QuickLookPreview preview;
    for (int n = 0; n < left; ++n) {
      const QString stuck = qs(top + "/stuck" + std::to_string(n) + ".txt");
      inspector.show(entry(stuck), {});
      preview.showFile(stuck);
      QTest::qWait(20);
    }
    inspector.show(entry(notes), {});
    preview.showFile(notes);
    CHECK_OR_RETURN(QTest::qWaitFor([&] { return inspector.metadata() && !inspector.isLoading(); }, kEventsWait), 1);
    CHECK_OR_RETURN(inspector.metadata()->exists && mount.stopped(), 2);
    CHECK_OR_RETURN(QTest::qWaitFor([&] { return preview.shownKind() == "text"; }, kEventsWait), 3);
    CHECK_OR_RETURN(mount.stopped(), 4);
    return 0;
  }));
}

// The process ends as main ends it, with a scan thread and a thread of Qt's
// shared pool (where the Trash service moves files) stuck on the mount.
TEST_F(StoppedMountTest, quit_ends_the_application_while_its_threads_wait_on_the_stopped_folder) {
  tree.write("served/Photos/a.jpg", "photo");
  tree.write("served/Photos/b.jpg", "photo");
  expectPassed(run([&](StoppedFuseMount& mount) {
    FolderStore(FolderStore::defaultStoragePath()).add({urlOf(top + "/Photos")});
    QuelmarisApp quelmaris;
    MainWindow& window = quelmaris.showMainWindow();
    mount.stop();
    QThreadPool::globalInstance()->start([path = top + "/Photos/a.jpg"] {
      struct stat facts {};
      ::stat(path.c_str(), &facts);
    });
    auto* scan = window.findChild<QAction*>(QStringLiteral("scanAction"));
    auto* quit = window.findChild<QAction*>(QStringLiteral("quitAction"));
    CHECK_OR_RETURN(scan != nullptr && scan->isEnabled() && quit != nullptr, 1);
    scan->trigger();
    CHECK_OR_RETURN(quelmaris.scan().state().is<ScanStore::State::scanning>(), 2);
    quit->trigger();
    const int status = QApplication::exec();
    ProcessEnd::endWithin(ProcessEnd::grace, status);
    return status;
  }));
}

// The process ends as main ends it, exit handlers and all, while the
// inspector's fetch of a file on the mount waits; the mount answers again as
// the program ends. Reading freed memory need not crash: a few rounds.
TEST_F(StoppedMountTest, quit_while_the_inspector_waits_on_the_stopped_folder_ends_the_program_with_its_status) {
  const std::string here = tree.write("here.txt", "here");
  tree.write("served/there.txt", "there");
  for (int round = 0; round < 5 && !HasFailure() && !IsSkipped(); ++round)
    expectPassed(run([&](StoppedFuseMount& mount) {
      InspectorModel inspector;
      // A file elsewhere first: its fetch makes what the stuck one goes on to use.
      inspector.show(apptest::entryFor(here), {});
      CHECK_OR_RETURN(QTest::qWaitFor([&] { return !inspector.isLoading(); }, kEventsWait), 1);
      const FileEntry onTheMount = apptest::entryFor(top + "/there.txt");
      mount.stop();
      inspector.show(onTheMount, {});
      std::thread([&mount] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        mount.resume();
      }).detach();
      ProcessEnd::endWithin(ProcessEnd::grace, 0);
      std::exit(0);
    }));
}

// A folder in view in the home folder, on a mount that stopped answering:
// the Add Folder dialog opens over it, lists the home folder, is closed with
// Escape, opens again, is pointed at the stopped folder and then at a folder
// elsewhere, which Return adds; the main thread answers all the while, up to
// Quit, with the server still stopped.
TEST_F(StoppedMountTest, the_add_folder_dialog_never_holds_the_window_while_a_folder_in_view_does_not_answer) {
  const std::string elsewhere = fs::canonical(tree.mkdir("elsewhere/Pick")).string();
  expectPassed(run([&](StoppedFuseMount& mount) {
    ::setenv("HOME", fs::path(top).parent_path().c_str(), 1);
    QuelmarisApp quelmaris;
    MainWindow& window = quelmaris.showMainWindow();
    auto* add = window.findChild<QAction*>(QStringLiteral("addFolderAction"));
    auto* quit = window.findChild<QAction*>(QStringLiteral("quitAction"));
    CHECK_OR_RETURN(add != nullptr && add->isEnabled() && quit != nullptr, 1);
    mount.stop();
    // The keys a user types into the dialog once it shows, with the home
    // folder's listing under way.
    const auto typeIntoNextDialog = [](const std::function<void(QWidget&)>& keys) {
      QTimer::singleShot(0, [keys] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, kEventsWait)) return;
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        dialog->activateWindow();
        QTest::qWait(200);
        keys(*dialog);
      });
    };
    typeIntoNextDialog([](QWidget& dialog) { QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape); });
    add->trigger();
    CHECK_OR_RETURN(quelmaris.folders().folders().isEmpty() && mount.stopped(), 2);
    typeIntoNextDialog([&](QWidget& dialog) {
      QTest::keyClicks(QApplication::focusWidget(), qs(top + "/"));
      QTest::qWait(200);
      QTest::keyClick(dialog.windowHandle(), Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(QApplication::focusWidget(), qs(elsewhere));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    add->trigger();
    CHECK_OR_RETURN(QTest::qWaitFor([&] { return quelmaris.folders().folders().size() == 1; }, kEventsWait), 3);
    CHECK_OR_RETURN(quelmaris.folders().folders()[0].path == qs(elsewhere), 4);
    CHECK_OR_RETURN(mount.stopped(), 5);
    quit->trigger();
    const int status = QApplication::exec();
    CHECK_OR_RETURN(mount.stopped(), 6);
    ProcessEnd::endWithin(ProcessEnd::grace, status);
    return status;
  }));
}

}  // namespace
