// A move to the Trash and its undo on a folder whose mount stopped answering
// (its FUSE server stopped): the main thread goes on answering while the
// files wait, and the move or the undo ends as usual once the mount answers.
#include <gtest/gtest.h>

#include <QTimer>
#include <QUndoStack>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app_test_support.hpp"
#include "interface/CoreTrashPlanner.h"
#include "mount_namespace.hpp"
#include "results/ResultsMove.h"
#include "scan_store_driver.hpp"
#include "stopped_fuse_mount.hpp"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/TrashService.h"

namespace {

namespace fs = std::filesystem;
using apptest::urlOf;
using quelmaris::testing::StoppedFuseMount;
using quelmaris::testing::TempTree;
using Outcome = TrashService::Outcome;

const quelmaris::testing::TemporaryDataHome dataHome;

constexpr int kCannotMount = 90;

int failed(int check, const char* why) {
  std::fprintf(stderr, "%s\n", why);
  return check;
}

// Whether the main thread's event loop ran a timer while the mount was
// still stopped.
bool answersWhileStopped(const StoppedFuseMount& mount) {
  bool answered = false, stoppedThen = false;
  QTimer::singleShot(0, [&] {
    answered = true;
    stoppedThen = mount.stopped();
  });
  return apptest::runEventsUntil([&] { return answered; }) && stoppedThen;
}

// A kept copy and a marked one on the mount; the body gets them, the mount
// and the folder it serves, and returns 0 or the number of the check that
// failed. Runs in a mount namespace of its own; skipped without FUSE.
void onAMount(const std::function<int(StoppedFuseMount&, const PlanSet&, const std::string& served)>& body) {
  TempTree tree;
  const std::string served = fs::canonical(tree.mkdir("served")).string();
  const std::string top = fs::canonical(tree.mkdir("mounted")).string();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    StoppedFuseMount mount(served, top);
    if (!mount.mounted()) return kCannotMount;
    apptest::application();
    tree.write("served/kept.jpg", "photo");
    tree.write("served/marked.jpg", "photo");
    // Read through the mount, as the scan would have.
    const PlanSet set{1, {apptest::entryFor(top + "/kept.jpg"), apptest::entryFor(top + "/marked.jpg")}, 0, {1}, true};
    return body(mount, set, served);
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no mount namespace or no FUSE here";
  EXPECT_EQ(status, 0) << "the check that failed";
}

TEST(TrashOnAStoppedMount, a_move_plans_and_checks_its_files_off_the_main_thread_and_ends_once_the_mount_answers) {
  onAMount([](StoppedFuseMount& mount, const PlanSet& set, const std::string& served) {
    TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    mount.stop();
    const QFuture<Outcome> moving = service.moveToTrash({set}, false, &undoStack, {});
    if (!mount.stopped()) return failed(1, "the call waited for the mount");
    if (!answersWhileStopped(mount)) return failed(2, "the main thread waited for the mount");
    if (moving.isFinished() || !service.isMoving()) return 3;
    mount.resume();
    if (!apptest::runEventsUntil([&] { return moving.isFinished(); })) return 4;
    const Outcome outcome = moving.result();
    if (outcome.moved.size() != 1 || !outcome.skipped.isEmpty() || !outcome.failed.isEmpty()) return 5;
    if (fs::exists(served + "/marked.jpg") || !fs::exists(served + "/kept.jpg") || undoStack.count() != 1) return 6;
    return service.isMoving() ? 7 : 0;
  });
}

TEST(TrashOnAStoppedMount, undo_puts_files_back_off_the_main_thread_and_ends_once_the_mount_answers) {
  onAMount([](StoppedFuseMount& mount, const PlanSet& set, const std::string& served) {
    TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    const QFuture<Outcome> moving = service.moveToTrash({set}, false, &undoStack, {});
    if (!apptest::runEventsUntil([&] { return moving.isFinished(); }) || moving.result().moved.size() != 1) return 1;
    mount.stop();
    undoStack.undo();
    if (!mount.stopped()) return failed(2, "the undo waited for the mount");
    if (!answersWhileStopped(mount)) return failed(3, "the main thread waited for the mount");
    if (service.lastRestore() || !service.isMoving()) return 4;
    mount.resume();
    if (!apptest::runEventsUntil([&] { return service.lastRestore().has_value(); })) return 5;
    if (service.lastRestore()->restored != QList<QUrl>{moving.result().moved.front().original} ||
        !service.lastRestore()->notRestored.isEmpty())
      return 6;
    if (quelmaris::testing::read_file(served + "/marked.jpg") != "photo") return 7;
    return service.isMoving() ? 8 : 0;
  });
}

TEST(TrashOnAStoppedMount, undos_waiting_on_the_mount_put_their_files_back_one_after_the_other_in_the_order_asked) {
  onAMount([](StoppedFuseMount& mount, const PlanSet& first, const std::string& served) {
    const std::string top = mount.mountPoint();
    std::ofstream(served + "/kept.png") << "drawing";
    std::ofstream(served + "/marked.png") << "drawing";
    const PlanSet second{
        2, {apptest::entryFor(top + "/kept.png"), apptest::entryFor(top + "/marked.png")}, 0, {1}, true};
    TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    for (const PlanSet& set : {first, second}) {
      const QFuture<Outcome> moving = service.moveToTrash({set}, false, &undoStack, {});
      if (!apptest::runEventsUntil([&] { return moving.isFinished(); }) || moving.result().moved.size() != 1) return 1;
    }
    QList<QList<QUrl>> restores;
    QObject::connect(&service, &TrashService::lastRestoreChanged, [&] {
      if (service.lastRestore()) restores.append(service.lastRestore()->restored);
    });
    mount.stop();
    undoStack.undo();
    undoStack.undo();
    if (!answersWhileStopped(mount)) return failed(2, "the main thread waited for the mount");
    mount.resume();
    if (!apptest::runEventsUntil([&] { return !service.isMoving(); })) return 3;
    const QList<QList<QUrl>> lastMoveFirst{{urlOf(top + "/marked.png")}, {urlOf(top + "/marked.jpg")}};
    if (restores != lastMoveFirst) return 4;
    return fs::exists(served + "/marked.png") && fs::exists(served + "/marked.jpg") ? 0 : 5;
  });
}

TEST(TrashOnAStoppedMount, the_application_ends_without_waiting_for_a_move_that_waits_on_the_mount) {
  onAMount([](StoppedFuseMount& mount, const PlanSet& set, const std::string&) {
    auto service =
        std::make_unique<TrashService>(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    mount.stop();
    const QFuture<Outcome> moving = service->moveToTrash({set}, false, nullptr, {});
    if (!mount.stopped()) return failed(1, "the call waited for the mount");
    service.reset();
    if (!moving.isCanceled()) return 2;
    // As Quit does last; this process ends without the application object.
    delete QCoreApplication::instance();
    return mount.stopped() ? 0 : failed(3, "the end of the application waited for the mount");
  });
}

TEST(TrashOnAStoppedMount, a_confirmed_move_leaves_the_window_answering_and_the_results_lose_the_copy_once_it_moved) {
  onAMount([](StoppedFuseMount& mount, const PlanSet& set, const std::string& served) {
    widgettest::ScanStoreDriver driver;
    driver.finishWith({DuplicateSet{1, "kept.jpg", 5, set.files, 0, {}, true, QString(64, u'0'), 5, false}});
    driver.store.changeSelection(
        [&](SelectionModel& selection) { selection.setMarked(true, 1, driver.store.sets().first()); });
    TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    ResultsMove move(driver.store, service, &undoStack);
    mount.stop();
    move.confirmMove();
    if (!answersWhileStopped(mount)) return failed(1, "the main thread waited for the mount");
    if (!move.isMoving()) return 2;
    mount.resume();
    if (!apptest::runEventsUntil([&] { return !move.isMoving(); })) return 3;
    if (!move.lastMove() || move.lastMove()->moved.size() != 1 || !driver.store.sets().isEmpty()) return 4;
    return fs::exists(served + "/marked.jpg") ? 5 : 0;
  });
}

}  // namespace
