// A session bus of the test's own that knows no service it could start, so
// that no real program on the machine ever answers. Without dbus-daemon there
// is none and address() is empty.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>

extern char** environ;

namespace apptest {

class PrivateSessionBus {
 public:
  // An address where no bus listens: a program given it has no bus at all.
  static QString noBus() { return QStringLiteral("unix:path=/nonexistent/quelmaris-test-bus"); }

  enum class Use {
    ByChildren,         // only programs the test starts are given its address
    AsThisProgramsOwn,  // this program's session bus; until the bus runs, none at all
  };

  // Made with AsThisProgramsOwn before anything reads the session bus address.
  explicit PrivateSessionBus(Use use = Use::ByChildren) {
    if (use == Use::AsThisProgramsOwn) ::setenv("DBUS_SESSION_BUS_ADDRESS", noBus().toLocal8Bit().constData(), 1);
    const QString config = folder_.filePath(QStringLiteral("bus.conf"));
    if (hasDaemon() && folder_.isValid() && writeConfig(config)) start(config);
    if (use == Use::AsThisProgramsOwn && !address_.isEmpty())
      ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.constData(), 1);
  }
  ~PrivateSessionBus() {
    if (daemon_ <= 0) return;
    ::kill(daemon_, SIGTERM);
    ::waitpid(daemon_, nullptr, 0);
  }
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  static bool hasDaemon() { return !daemonPath().isEmpty(); }
  QString address() const { return QString::fromLocal8Bit(address_); }

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

  // Runs the daemon and keeps the address it prints.
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
      address_ = QByteArray(address).trimmed();
    std::fclose(printed);
  }

  QTemporaryDir folder_;
  pid_t daemon_ = 0;
  QByteArray address_;
};

}  // namespace apptest
