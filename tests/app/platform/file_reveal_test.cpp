// Showing a file in the file manager, over a session bus of this program's
// own: a fake file manager that answers or fails, and no file manager at all.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDir>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <tuple>

#include "app_test_support.hpp"
#include "platform/FileReveal.h"
#include "private_session_bus.hpp"

namespace {

const QString service = QStringLiteral("org.freedesktop.FileManager1");
const QString objectPath = QStringLiteral("/org/freedesktop/FileManager1");

// Started before anything reads the session bus address.
const apptest::PrivateSessionBus bus(apptest::PrivateSessionBus::Use::AsThisProgramsOwn);

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
    if (!apptest::PrivateSessionBus::hasDaemon()) GTEST_SKIP() << "dbus-daemon is not installed";
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
