// The seam between the update service and the updater that does the work:
// whether a user-initiated check can start now (with a signal when that
// changes), the automatic-check choice, the date of the last completed
// check, and a user-initiated check that reports its result itself. The
// production updater reads our JSON feed (FeedUpdater); tests use fakes.
// Main thread only.
#pragma once

#include <QDateTime>
#include <QObject>
#include <optional>

class Updater : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // False when the updater was not started and while a check runs.
  virtual bool canCheckForUpdates() const = 0;
  virtual bool automaticallyChecksForUpdates() const = 0;
  virtual void setAutomaticallyChecksForUpdates(bool automatically) = 0;
  // The last check that read the feed; none before the first one.
  virtual std::optional<QDateTime> lastUpdateCheckDate() const = 0;
  // A check started by the user; does nothing while one cannot start.
  virtual void checkForUpdates() = 0;

 signals:
  void canCheckForUpdatesChanged();
};
