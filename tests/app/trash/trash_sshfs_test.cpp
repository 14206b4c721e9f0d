// The Trash on a folder of another machine mounted with sshfs, here a local
// folder served over SFTP on a local port: the driver refuses
// RENAME_NOREPLACE, and it numbers each name on its own and anew once the
// kernel forgets it, so that a hard link shows another inode number than the
// name it was made from. Beside it, a folder listed together with such a view
// of itself, through sshfs or bindfs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QUndoStack>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "app_test_support.hpp"
#include "interface/CoreScanner.h"
#include "interface/CoreTrashPlanner.h"
#include "mount_namespace.hpp"
#include "results/ResultsMove.h"
#include "stopped_fuse_mount.hpp"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/FileTrashing.h"
#include "trash/TrashService.h"

namespace {

namespace fs = std::filesystem;
using apptest::urlOf;
using quelmaris::testing::read_file;
using quelmaris::testing::TempTree;

const quelmaris::testing::TemporaryDataHome dataHome;

// socat serving the SFTP server, one per connection, on a random local port;
// it ends with this object or with its parent.
class SftpServer {
 public:
  SftpServer() {
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 20 && port_ == 0; ++attempt) {
      const int port = 20000 + static_cast<int>(random() % 40000);
      if (listensOn(port)) port_ = port;
    }
  }
  ~SftpServer() { stop(); }
  // 0 when no port could be taken.
  int port() const { return port_; }

 private:
  // Waits for socat's line that it listens, or its end when the port is taken.
  bool listensOn(int port) {
    std::array<int, 2> pipe{};
    if (::pipe2(pipe.data(), O_CLOEXEC) != 0) return false;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(pipe[1], STDERR_FILENO);
      const std::string listen = "TCP-LISTEN:" + std::to_string(port) + ",bind=127.0.0.1,fork,reuseaddr";
      ::execlp("socat", "socat", "-d", "-d", listen.c_str(), "EXEC:/usr/lib/openssh/sftp-server",
               static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(pipe[1]);
    // Kept open while socat runs: it reports each connection there.
    log_ = ::fdopen(pipe[0], "r");
    char line[512];
    while (pid_ > 0 && log_ != nullptr && std::fgets(line, sizeof line, log_) != nullptr)
      if (std::string(line).find(" listening on ") != std::string::npos) return true;
    stop();
    return false;
  }
  void stop() {
    if (pid_ > 0 && ::kill(pid_, SIGTERM) == 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    if (log_ != nullptr) std::fclose(log_);
    log_ = nullptr;
  }

  int port_ = 0;
  pid_t pid_ = -1;
  std::FILE* log_ = nullptr;
};

// The folder mounted with sshfs; unmounted before its server ends.
class SshfsMount {
 public:
  SshfsMount(const std::string& served, std::string top)
      : top_(std::move(top)),
        command_("sshfs -o directport=" + std::to_string(server_.port()) + " '127.0.0.1:" + served + "' '" + top_ +
                 "' >/dev/null 2>&1") {
    mounted_ = server_.port() != 0 && std::system(command_.c_str()) == 0;
  }
  ~SshfsMount() { ::umount2(top_.c_str(), MNT_DETACH); }
  bool mounted() const { return mounted_; }
  // The kernel forgets every name, and the driver numbers them afresh.
  bool mountAgain() { return ::umount2(top_.c_str(), 0) == 0 && std::system(command_.c_str()) == 0; }

 private:
  SftpServer server_;
  std::string top_, command_;
  bool mounted_ = false;
};

// One name, on the server, for the file at the path there.
bool hasOneName(const std::string& path) {
  struct stat facts {};
  return ::lstat(path.c_str(), &facts) == 0 && S_ISREG(facts.st_mode) && facts.st_nlink == 1;
}

TEST(SshfsTrash, copies_leave_their_place_with_one_name_in_the_trash_and_come_back_also_after_a_new_mount) {
  constexpr int kCannotMount = 90;
  TempTree tree;
  const std::string served = fs::canonical(tree.mkdir("served")).string();
  const std::string top = fs::canonical(tree.mkdir("mounted")).string();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (::access("/dev/fuse", R_OK | W_OK) != 0) return kCannotMount;
    SshfsMount mount(served, top);
    if (!mount.mounted()) return kCannotMount;
    const SystemFileTrashing files;
    const auto onServer = [&](const QUrl& url) { return served + url.toLocalFile().toStdString().substr(top.size()); };
    const auto recordOnServer = [&](const std::string& name) {
      return served + "/.Trash-" + std::to_string(::getuid()) + "/info/" + name + ".trashinfo";
    };
    // Round 1 puts the copies back at once, round 2 after the volume was mounted again.
    for (int round = 1; round <= 2; ++round) {
      std::vector<std::pair<QUrl, TrashedItem>> moved;
      for (const std::string name : {"a.jpg", "b.jpg", "c.jpg"}) {
        std::ofstream(top + "/" + name) << "photo " << name;
        const QUrl original = urlOf(top + "/" + name);
        const auto trashed = files.trashItem(original);
        if (!trashed.ok() || !trashed.value().url) return 10 * round + 1;
        if (fs::exists(served + "/" + name) || !hasOneName(onServer(*trashed.value().url))) return 10 * round + 2;
        moved.emplace_back(original, trashed.value());
      }
      if (round == 2 && !mount.mountAgain()) return 10 * round + 3;
      // As the undo does: the item is still in the Trash, its place is free, then the move back.
      for (const auto& [original, item] : moved) {
        const auto inTrash = files.itemExists(*item.url), inItsPlace = files.itemExists(original);
        if (!inTrash.ok() || !inTrash.value() || !inItsPlace.ok() || inItsPlace.value()) return 10 * round + 4;
        if (const auto refusal = files.moveItem(*item.url, original, item.identity)) {
          std::fprintf(stderr, "%s\n", qPrintable(refusal->description));
          return 10 * round + 5;
        }
        const std::string name = original.fileName().toStdString();
        if (!hasOneName(served + "/" + name) || read_file(served + "/" + name) != "photo " + name ||
            fs::exists(onServer(*item.url)) || fs::exists(recordOnServer(name)))
          return 10 * round + 6;
      }
    }
    // A file that took the place meanwhile stays, and the item stays in the Trash with its one name.
    std::ofstream(top + "/d.jpg") << "photo";
    const auto trashed = files.trashItem(urlOf(top + "/d.jpg"));
    if (!trashed.ok() || !trashed.value().url) return 31;
    std::ofstream(top + "/d.jpg") << "newcomer";
    const auto refusal = files.moveItem(*trashed.value().url, urlOf(top + "/d.jpg"), trashed.value().identity);
    if (!refusal || read_file(served + "/d.jpg") != "newcomer" || !hasOneName(served + "/d.jpg") ||
        !hasOneName(onServer(*trashed.value().url)) || !fs::exists(recordOnServer("d.jpg")))
      return 32;
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no sshfs volume mountable here (needs root, /dev/fuse, sshfs, socat, openssh-sftp-server)";
  EXPECT_EQ(status, 0) << "tens: round (1 at once, 2 after a new mount, 3 the place taken); units: step";
}

// A folder listed with a view of itself through another mount, the view
// first or second. bindfs shows the folder's inode numbers on another device,
// sshfs numbers the names itself and answers lookups from its cache: no
// comparison of numbers tells a file from its view.
struct View {
  const char* name;
  std::shared_ptr<void> (*mount)(const std::string& served, const std::string& top);
  bool listedFirst;
};
void PrintTo(const View& view, std::ostream* out) { *out << view.name; }

template <class Mount>
std::shared_ptr<void> mounted(const std::string& served, const std::string& top) {
  auto mount = std::make_shared<Mount>(served, top);
  return mount->mounted() ? mount : nullptr;
}

class TrashThroughAView : public testing::TestWithParam<View> {};

TEST_P(TrashThroughAView, copies_that_are_their_kept_file_through_the_view_go_back_and_the_outcome_says_why) {
  constexpr int kCannotMount = 90;
  TempTree tree;
  const std::string served = fs::canonical(tree.mkdir("data/twin")).string();
  const std::string top = fs::canonical(tree.mkdir("mnt/twin")).string();
  const View& view = GetParam();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    const auto mount = ::access("/dev/fuse", R_OK | W_OK) == 0 ? view.mount(served, top) : nullptr;
    if (!mount) return kCannotMount;
    for (const char* name : {"a", "b", "c"}) std::ofstream(served + "/" + name) << name;
    apptest::application();
    ScanStore scan{std::make_shared<CoreScanner>()};
    TrashService trash(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    ResultsMove move(scan, trash, &undoStack);
    ScanOptions smallFiles;
    smallFiles.settings.minSize = 1;
    scan.start(view.listedFirst ? QList{urlOf(top), urlOf(served)} : QList{urlOf(served), urlOf(top)}, smallFiles);
    if (!apptest::runEventsUntil([&] { return scan.state().is<ScanStore::State::finished>() && !scan.session(); }) ||
        scan.sets().size() != 3)
      return 1;
    scan.changeSelection([&](SelectionModel& selection) {
      selection.applyMarking(SelectionModel::Marking::selectOutsideFirstFolder, scan.sets());
    });
    move.confirmMove();
    // The outcome sheet, not the moved banner.
    if (!apptest::runEventsUntil([&] { return !move.isMoving(); }) || move.lastMove() || !move.problems()) return 2;
    if (!move.problems()->moved.isEmpty() || move.problems()->failed.size() != 3 || undoStack.count() != 0) return 3;
    const QString marked = QString::fromStdString(view.listedFirst ? served : top);
    for (const TrashService::Failure& failure : move.problems()->failed)
      if (!failure.path.startsWith(marked) ||
          failure.error != TrashService::tr("This copy and the one kept are the same file, reached through another "
                                            "mount. It was put back."))
        return 4;
    for (const char* name : {"a", "b", "c"})
      if (read_file(served + "/" + name) != name) return 5;
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no view mountable here (needs root, /dev/fuse, and bindfs or sshfs, socat, openssh-sftp-server)";
  EXPECT_EQ(status, 0) << "the check that failed";
}

INSTANTIATE_TEST_SUITE_P(Views, TrashThroughAView,
                         testing::Values(View{"bindfs", mounted<quelmaris::testing::StoppedFuseMount>, false},
                                         View{"sshfs", mounted<SshfsMount>, false},
                                         View{"sshfs_listed_first", mounted<SshfsMount>, true}),
                         [](const auto& each) { return std::string(each.param.name); });

}  // namespace
