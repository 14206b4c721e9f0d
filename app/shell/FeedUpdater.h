// The updater of this application: reads our update feed (UpdateFeed) from
// a URL fixed at build time off the main thread (FeedFetch), compares it with
// the running version, and reports the result. A started updater checks when the user
// asks and, once the user has turned automatic checks on (they are off until
// then), at most once a day, a failed automatic check included; an updater
// that is not started, or has no feed, never contacts anything. The
// automatic-check choice, the date of the last check that read the feed and
// that of the last automatic attempt are stored in the settings. A check that
// did not reach or could not read the feed, or that is not done by its
// deadline however slowly data still arrives, is reported as failed, in the
// application's own words (nothing the server wrote is shown), and leaves the
// date of the last check alone. Main thread only.
#pragma once

#include <QTimer>
#include <QVersionNumber>
#include <chrono>
#include <functional>

#include "shell/FeedFetch.h"
#include "shell/UpdateFeed.h"
#include "shell/Updater.h"

struct UpdateCheckResult {
  enum class Outcome { available, upToDate, failed };

  Outcome outcome = Outcome::failed;
  UpdateFeed feed;
  // Why the check failed, for the user.
  QString error;
};

class FeedUpdater final : public Updater {
  Q_OBJECT

 public:
  struct Settings {
    QUrl feed;
    bool starting = false;
    QVersionNumber runningVersion;
    QString runningBuild;
    // Without a byte for this long, a check is given up.
    std::chrono::milliseconds transferTimeout{std::chrono::seconds(15)};
    // However the bytes come, a check is given up after this long.
    std::chrono::milliseconds checkDeadline{std::chrono::minutes(1)};
    std::chrono::milliseconds firstAutomaticCheck{std::chrono::seconds(5)};
    std::chrono::milliseconds automaticCheckInterval{std::chrono::hours(1)};
    std::function<QDateTime()> now = &QDateTime::currentDateTimeUtc;
  };

  // The build's feed and version.
  static Settings productionSettings(bool starting);

  explicit FeedUpdater(Settings settings, QObject* parent = nullptr);
  ~FeedUpdater() override;

  // Started, with a feed of a scheme it can read (file, http, https).
  bool isStarted() const { return started_; }
  // Automatic checks are on and the last check that read the feed and the
  // last automatic attempt are both a day old or missing. A stored date later
  // than now (a clock set back, or once set ahead) counts as missing: the
  // attempt then made is dated now and holds off the next for a day.
  bool automaticCheckDue() const;

  bool canCheckForUpdates() const override;
  bool automaticallyChecksForUpdates() const override;
  void setAutomaticallyChecksForUpdates(bool automatically) override;
  std::optional<QDateTime> lastUpdateCheckDate() const override;
  void checkForUpdates() override;

 signals:
  // Every result of a check the user started; of an automatic check, only an
  // available update.
  void resultToShow(const UpdateCheckResult& result);

 private:
  void check(bool userInitiated);
  void finishCheck(const UpdateCheckResult& result);
  UpdateCheckResult resultOf(const FeedFetchResult& fetched) const;
  void scheduledCheck();

  Settings settings_;
  bool started_ = false;
  std::unique_ptr<FeedFetch> fetch_;
  // Tells a running check's result from a late one of a check already ended.
  quint64 checks_ = 0;
  bool userInitiated_ = false;
  QTimer deadline_;
  QTimer schedule_;
};
