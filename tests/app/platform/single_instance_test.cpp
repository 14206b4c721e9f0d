// Two launches of the real program with one data folder, with a session bus
// of the test's own, without a bus, without a runtime folder named, and each
// with runtime and temporary folders of its own: the second ends at once,
// leaves the folder list alone and has the first come forward, or ends within
// the hand-over wait when the first was stopped; launched together, exactly
// one runs. Launches with other data folders run side by side. Last, a copy
// in this program whose window the real program's launch brings forward.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>
#include <memory>
#include <ostream>

#include "app_test_support.hpp"
#include "bounded_child.hpp"
#include "child_process.hpp"
#include "folders/FolderStore.h"
#include "platform/InstanceLock.h"
#include "platform/SingleInstance.h"
#include "private_session_bus.hpp"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "widget_test_support.hpp"

namespace {

using apptest::PrivateSessionBus;

const QString alreadyRunning = QStringLiteral("Quelmaris is already running");

bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 120'000); }

// What the launches of one test have in common besides a data folder.
struct Setting {
  const char* name;
  bool bus;
  bool runtimeFolderNamed;
  // As from a terminal, after su or over ssh beside a launch from the desktop.
  bool foldersPerLaunch = false;
};
void PrintTo(const Setting& setting, std::ostream* out) { *out << setting.name; }

// A user's home with the data and settings folders under it.
class Home {
 public:
  Home() {
    for (const char* folder : {"data", "config", "cache"}) QDir(folder_.path()).mkpath(folder);
  }
  QString path(const QString& relative) const { return folder_.filePath(relative); }
  QString dataFolder() const { return path("data/Quelmaris"); }
  QString folderList() const { return dataFolder() + "/folders.json"; }

 private:
  QTemporaryDir folder_;
};

class Launch {
 public:
  Launch(const QProcessEnvironment& environment) {
    process_.setProcessEnvironment(environment);
    process_.start(QStringLiteral(QUELMARIS_EXECUTABLE), {});
  }
  ~Launch() {
    process_.kill();
    process_.waitForFinished();
  }
  Launch(const Launch&) = delete;
  Launch& operator=(const Launch&) = delete;

  qint64 id() const { return process_.processId(); }
  bool running() const { return process_.state() != QProcess::NotRunning; }
  bool endedWell() const { return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0; }
  // What it wrote on stderr so far.
  const QString& said() {
    said_ += QString::fromLocal8Bit(process_.readAllStandardError());
    return said_;
  }
  std::string saidText() { return said().toStdString(); }
  // How often its window was raised: the offscreen platform says so each time.
  qsizetype raises() { return said().count(QStringLiteral("does not support raise()")); }

 private:
  QProcess process_;
  QString said_;
};

// The bus, and unless each launch has its own, the runtime folder and the
// temporary folder one user's launches share.
class Session {
 public:
  explicit Session(Setting setting) : setting_(setting) { makeFolders(); }

  bool hasBus() const { return !setting_.bus || !bus_.address().isEmpty(); }
  // The runtime folder named, or the private one Qt makes in the temporary folder.
  QString runtimeFolder() const {
    if (setting_.runtimeFolderNamed) return folder_.filePath("run" + own_);
    return folder_.filePath("tmp" + own_ + "/runtime-") + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
  }
  QString busAddress() const { return bus_.address(); }

  std::unique_ptr<Launch> launch(const Home& home) { return std::make_unique<Launch>(environment(home)); }

  QProcessEnvironment environment(const Home& home) {
    if (setting_.foldersPerLaunch) {
      own_ = QString::number(++launches_);
      makeFolders();
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path("."));
    environment.insert("XDG_DATA_HOME", home.path("data"));
    environment.insert("XDG_CONFIG_HOME", home.path("config"));
    environment.insert("XDG_CACHE_HOME", home.path("cache"));
    environment.insert("TMPDIR", folder_.filePath("tmp" + own_));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QUELMARIS_NO_UPDATES", "1");
    environment.insert("DBUS_SESSION_BUS_ADDRESS", setting_.bus ? bus_.address() : PrivateSessionBus::noBus());
    if (setting_.runtimeFolderNamed)
      environment.insert("XDG_RUNTIME_DIR", runtimeFolder());
    else
      environment.remove("XDG_RUNTIME_DIR");
    return environment;
  }

  // The processes that hold a lock on a file in the data folder, as the kernel lists them.
  QSet<qint64> lockHolders(const Home& home) const {
    QSet<QString> inodes;
    for (const QFileInfo& lock : QDir(home.dataFolder()).entryInfoList(QDir::Files)) {
      struct stat status {};
      if (::stat(lock.filePath().toLocal8Bit().constData(), &status) == 0)
        inodes.insert(QString::number(status.st_ino));
    }
    QSet<qint64> holders;
    QFile table("/proc/locks");
    if (!table.open(QIODevice::ReadOnly)) return holders;
    // "1: FLOCK  ADVISORY  WRITE 4242 fe:00:1234 0 EOF"; a waiter has "->" before FLOCK.
    for (const QByteArray& line : table.readAll().split('\n')) {
      const QStringList fields = QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts);
      if (fields.size() >= 6 && fields[1] == "FLOCK" && inodes.contains(fields[5].section(u':', -1)))
        holders.insert(fields[4].toLongLong());
    }
    return holders;
  }

 private:
  void makeFolders() {
    for (const QString& folder : {"run" + own_, "tmp" + own_}) QDir(folder_.path()).mkpath(folder);
    ::chmod(folder_.filePath("run" + own_).toLocal8Bit().constData(), 0700);
  }

  Setting setting_;
  PrivateSessionBus bus_;
  QTemporaryDir folder_;
  // Names the runtime and temporary folders of the latest launch.
  int launches_ = 0;
  QString own_;
};

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

class SingleInstanceTest : public ::testing::TestWithParam<Setting> {
 protected:
  void SetUp() override {
    widgettest::application();
    if (!session.hasBus()) GTEST_SKIP() << "dbus-daemon is not installed";
  }

  Session session{GetParam()};
};

TEST_P(SingleInstanceTest, a_second_launch_with_the_same_data_folder_ends_and_never_touches_the_folder_list) {
  const Home home;
  ASSERT_TRUE(QDir(home.path(".")).mkpath("F0"));
  FolderStore(home.folderList()).add({QUrl::fromLocalFile(home.path("F0"))});
  const auto first = session.launch(home);
  ASSERT_TRUE(waitFor([&] { return first->raises() == 1; })) << "its window is up: " << first->saidText();
  const QByteArray list = contents(home.folderList());
  ASSERT_NE(list, "(none)");

  const auto second = session.launch(home);
  ASSERT_TRUE(waitFor([&] { return !second->running(); })) << "the second copy still runs";
  EXPECT_TRUE(second->endedWell()) << second->saidText();
  if (GetParam().bus) {
    EXPECT_FALSE(second->said().contains(alreadyRunning)) << second->saidText();
    EXPECT_TRUE(waitFor([&] { return first->raises() == 2; })) << "the first copy's window came forward";
  } else {
    EXPECT_TRUE(second->said().contains(alreadyRunning + ". Without a session bus")) << second->saidText();
  }
  EXPECT_TRUE(first->running());
  EXPECT_EQ(session.lockHolders(home), QSet{first->id()});
  EXPECT_EQ(contents(home.folderList()), list);
}

// The first copy holds its lock and its name on the bus, but answers nothing.
TEST_P(SingleInstanceTest, a_second_launch_ends_within_the_hand_over_wait_while_the_first_copy_is_stopped) {
  const Home home;
  const auto first = session.launch(home);
  ASSERT_TRUE(waitFor([&] { return first->raises() == 1; })) << "its window is up: " << first->saidText();
  std::vector<std::pair<std::string, std::string>> environment;
  const QProcessEnvironment launched = session.environment(home);
  for (const QString& name : launched.keys())
    environment.emplace_back(name.toStdString(), launched.value(name).toStdString());
  ASSERT_EQ(::kill(static_cast<pid_t>(first->id()), SIGSTOP), 0);
  // Long enough for the program to start on a busy machine.
  constexpr std::chrono::seconds margin{10};
  const int status = quelmaris::testing::run_in_bounded_child(
      static_cast<unsigned>((SingleInstance::handOverWait + margin).count()), [&] {
        ::clearenv();
        apptest::ChildProcess second({QUELMARIS_EXECUTABLE}, environment);
        return second.succeeded() ? 0 : 1;
      });
  ::kill(static_cast<pid_t>(first->id()), SIGCONT);
  EXPECT_EQ(status, 0) << "1: it failed; " << quelmaris::testing::kKilled << ": it still ran";
  EXPECT_TRUE(first->running());
}

TEST_P(SingleInstanceTest, copies_launched_at_once_leave_exactly_one_running) {
  const Home home;
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const auto one = session.launch(home), other = session.launch(home);
    ASSERT_TRUE(waitFor([&] { return !one->running() || !other->running(); })) << "neither ended";
    Launch& ended = one->running() ? *other : *one;
    const Launch& left = one->running() ? *one : *other;
    EXPECT_TRUE(ended.endedWell()) << ended.saidText();
    EXPECT_TRUE(left.running());
    EXPECT_EQ(session.lockHolders(home), QSet{left.id()});
  }
}

TEST_P(SingleInstanceTest, launches_with_other_data_folders_run_side_by_side) {
  const Home home, otherHome;
  const auto first = session.launch(home), other = session.launch(otherHome);
  ASSERT_TRUE(waitFor([&] {
    return session.lockHolders(home) == QSet{first->id()} && session.lockHolders(otherHome) == QSet{other->id()};
  })) << first->saidText()
      << other->saidText();
  EXPECT_TRUE(first->running());
  EXPECT_TRUE(other->running());
}

INSTANTIATE_TEST_SUITE_P(Launches, SingleInstanceTest,
                         ::testing::Values(Setting{"session_bus", true, true}, Setting{"no_bus", false, true},
                                           Setting{"no_bus_nor_runtime_folder", false, false},
                                           Setting{"runtime_and_temporary_folders_per_launch", true, true, true}),
                         [](const auto& each) { return std::string(each.param.name); });

// A file manager or browser the running copy opened may outlive it, and must
// not keep the next launch from running.
TEST(InstanceLock, a_program_the_holder_started_does_not_keep_the_lock_after_the_holder_ends) {
  widgettest::application();
  const QTemporaryDir folder;
  const QString path = folder.filePath("copy.lock");
  QProcess started;
  {
    InstanceLock held(path);
    ASSERT_EQ(held.take(), InstanceLock::Outcome::Taken);
    started.start("cat", {});
    ASSERT_TRUE(started.waitForStarted());
    EXPECT_EQ(InstanceLock(path).take(), InstanceLock::Outcome::HeldElsewhere);
  }
  EXPECT_EQ(InstanceLock(path).take(), InstanceLock::Outcome::Taken);
  started.closeWriteChannel();
  EXPECT_TRUE(started.waitForFinished());
}

// The running copy is this program, with the application object and its real window.
TEST(SingleInstanceWindow, a_second_launch_brings_the_running_copys_minimised_window_forward) {
  Session session(Setting{"session_bus", true, true});
  if (!session.hasBus()) GTEST_SKIP() << "dbus-daemon is not installed";
  const Home home;
  qputenv("XDG_DATA_HOME", home.path("data").toLocal8Bit());
  qputenv("XDG_RUNTIME_DIR", session.runtimeFolder().toLocal8Bit());
  widgettest::application();
  apptest::useTemporarySettings();
  const QString connectionName = QStringLiteral("first copy");
  {
    SingleInstance first(home.dataFolder(), QDBusConnection::connectToBus(session.busAddress(), connectionName));
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Running);
    QuelmarisApp app;
    QObject::connect(&first, &SingleInstance::launchedAgain, &app, [&app] { app.showMainWindow(); });
    MainWindow& window = app.showMainWindow();
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    window.showMinimized();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));

    const auto second = session.launch(home);
    ASSERT_TRUE(waitFor([&] { return !second->running(); })) << "the second copy still runs";
    EXPECT_TRUE(second->endedWell()) << second->saidText();
    EXPECT_TRUE(waitFor([&] { return window.isActiveWindow(); }));
    EXPECT_FALSE(window.isMinimized());
  }
  QDBusConnection::disconnectFromBus(connectionName);
}

}  // namespace
