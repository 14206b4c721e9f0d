// Showing a file in the file manager, over a session bus of this program's
// own: a fake file manager that answers or fails, and no file manager at all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <tuple>

#include "app_test_support.hpp"
#include "platform/FileReveal.h"

extern char** environ;

namespace {

const QString service = QStringLiteral("org.freedesktop.FileManager1");
const QString objectPath = QStringLiteral("/org/freedesktop/FileManager1");

// A bus of its own that knows no service it could start, so that no real
// file manager ever answers, started before anything reads the session bus
// address. Without dbus-daemon there is none.
class PrivateSessionBus {
 public:
  PrivateSessionBus() {
    // Until the bus runs, no bus at all: never the user's own.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quelmaris-test-bus", 1);
    const QString config = folder_.filePath(QStringLiteral("bus.conf"));
    if (hasDaemon() && folder_.isValid() && writeConfig(config)) start(config);
  }
  ~PrivateSessionBus() {
    if (daemon_ <= 0) return;
    ::kill(daemon_, SIGTERM);
    ::waitpid(daemon_, nullptr, 0);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  static bool hasDaemon() { return !daemonPath().isEmpty(); }

 private:
  static QString daemonPath() { return QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")); }

  bool writeConfig(const QString& config) const {
    QFile file(config);
    return file.open(QIODevice::WriteOnly) && file.write(QStringLiteral(R"(<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <policy context="default">
    <allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/>
  </policy>
</busconfig>)")
                                                             .arg(folder_.path())
                                                             .toUtf8()) > 0;
  }

  // Runs the daemon and takes the address it prints as the session bus's.
  void start(const QString& config) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // Its notes on limits it cannot raise are no concern of the test.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const QByteArray program = daemonPath().toLocal8Bit(), configArgument = "--config-file=" + config.toLocal8Bit();
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(configArgument.constData()),
                    const_cast<char*>("--nofork"), const_cast<char*>("--print-address=1"), nullptr};
    if (posix_spawn(&daemon_, argv[0], &actions, nullptr, argv, environ) != 0) daemon_ = 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    FILE* printed = ::fdopen(out[0], "r");
    char address[512] = {};
    if (daemon_ > 0 && std::fgets(address, sizeof address, printed) != nullptr)
      ::setenv("DBUS_SESSION_BUS_ADDRESS", QByteArray(address).trimmed().constData(), 1);
    std::fclose(printed);
  }

  QTemporaryDir folder_;
  pid_t daemon_ = 0;
};

const PrivateSessionBus bus;

// The file manager's object: notes each call and answers it, or fails it
// once told to.
class FakeFileManager final : public QDBusVirtualObject {
 public:
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QMutexLocker lock(&mutex_);
    calls_.append(message);
    connection.send(fails_ ? message.createErrorReply(QDBusError::Failed, QStringLiteral("no window"))
                           : message.createReply());
    return true;
  }
  QString introspect(const QString&) const override { return {}; }

  QList<QDBusMessage> calls() const {
    const QMutexLocker lock(&mutex_);
    return calls_;
  }
  void failFromNowOn() {
    const QMutexLocker lock(&mutex_);
    fails_ = true;
  }

 private:
  mutable QMutex mutex_;
  QList<QDBusMessage> calls_;
  bool fails_ = false;
};

class FileRevealTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PrivateSessionBus::hasDaemon()) GTEST_SKIP() << "dbus-daemon is not installed";
    apptest::application();
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "the private bus runs";
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("a b")));
  }

  void reveal() {
    FileReveal::revealWithFallback(file, [this](const QUrl& parent) { opened.append(parent); });
  }
  static bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 120'000); }

  QTemporaryDir folder;
  const QString file = folder.filePath(QStringLiteral("a b/\u00FC #1.txt"));
  // The folders opened in the file manager's place, in order.
  QList<QUrl> opened;
};

// Answers come back in the order of the calls, so a fallback after the
// first call would be opened before that of the second.
TEST_F(FileRevealTest, the_file_manager_gets_the_files_uri_and_without_one_or_on_its_error_the_parent_folder_opens) {
  const QString name = QStringLiteral("fileManager");
  QDBusConnection own = QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), name);
  FakeFileManager manager;
  ASSERT_TRUE(own.registerVirtualObject(objectPath, &manager));
  ASSERT_TRUE(own.registerService(service));

  reveal();
  ASSERT_TRUE(waitFor([&] { return manager.calls().size() == 1; }));
  const QDBusMessage call = manager.calls().first();
  EXPECT_EQ(std::tuple(call.interface(), call.path(), call.member(), call.signature()),
            std::tuple(service, objectPath, QStringLiteral("ShowItems"), QStringLiteral("ass")));
  const QStringList uris = call.arguments().value(0).toStringList();
  ASSERT_EQ(uris.size(), 1);
  EXPECT_EQ(uris.first().toStdString(), ("file://" + folder.path() + "/a%20b/%C3%BC%20%231.txt").toStdString());
  EXPECT_EQ(call.arguments().value(1).toString(), QString()) << "no startup id";

  const QUrl parent = QUrl::fromLocalFile(folder.path() + "/a b");
  manager.failFromNowOn();
  reveal();
  ASSERT_TRUE(waitFor([&] { return !opened.isEmpty(); }));
  EXPECT_EQ(opened, QList<QUrl>{parent}) << "only the call the file manager failed";

  ASSERT_TRUE(own.unregisterService(service));
  reveal();
  ASSERT_TRUE(waitFor([&] { return opened.size() == 2; }));
  EXPECT_EQ(opened.last(), parent) << "no file manager on the bus";
  EXPECT_EQ(manager.calls().size(), 2);
  own.unregisterObject(objectPath);
  QDBusConnection::disconnectFromBus(name);
}

}  // namespace
