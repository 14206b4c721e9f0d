// One running copy of the application per data folder, as desktop
// applications run once per user. The first copy takes a lock in the data
// folder itself and answers on the session bus as an
// org.freedesktop.Application whose Activate brings it forward; a later copy
// with the same data folder asks it to, and ends before it reads or writes
// anything of the user's. Copies with other data folders run side by side,
// and so does every copy where no lock can be taken. Main thread only.
#pragma once

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <chrono>

#include "platform/InstanceLock.h"

class SingleInstance final : public QObject {
  Q_OBJECT

 public:
  enum class Claim {
    Running,         // this copy runs; it holds the lock and answers on the bus
    HandedOver,      // the running copy was asked to come forward
    AlreadyRunning,  // another copy runs and could not be asked; said on stderr
  };

  // How long a later copy keeps asking a copy that holds the lock, bus calls
  // included: the first copy takes the lock a moment before it is on the
  // bus, and one that is stopped or hangs never answers.
  static constexpr std::chrono::seconds handOverWait{10};

  // Nothing is claimed yet. The bus may be a disconnected one.
  SingleInstance(const QString& dataFolder, const QDBusConnection& bus, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Of two copies that claim at once, exactly one runs. While another copy
  // holds the lock, asks it to come forward, retrying while it is not yet on
  // the bus or is ending, and ends within handOverWait.
  Claim claim();

 signals:
  // Another copy was launched and asked this one to come forward.
  void launchedAgain();

 private:
  bool askRunningCopy(const QDeadlineTimer& deadline);
  void answerLaunches();

  QDBusConnection bus_;
  // Names this data folder's bus name.
  const QString key_;
  const QString serviceName_;
  InstanceLock lock_;
  bool answering_ = false;
};
