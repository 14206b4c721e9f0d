// A session bus of the test's own that knows no service it could start, so
// that no real program on the machine ever answers. Without dbus-daemon there
// is none and address() is empty.
#pragma once

#include <stdlib.h>

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include "child_process.hpp"

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
    address_ = QByteArray::fromStdString(spawnReporting(
        daemon_, {daemonPath().toStdString(), "--config-file=" + config.toStdString(), "--nofork", "--print-address={fd}"}));
  }

  QTemporaryDir folder_;
  ChildProcess daemon_;
  QByteArray address_;
};

}  // namespace apptest
