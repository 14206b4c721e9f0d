// The updater of this application: reads our update feed (UpdateFeed) from
// a URL fixed at build time with Qt Network, compares it with the running
// version, and reports the result. A started updater checks when the user
// asks and, once the user has turned automatic checks on (they are off until
// then), at most once a day, a failed automatic check included; an updater
// that is not started, or has no feed, never contacts anything. The
// automatic-check choice, the date of the last check that read the feed and
// that of the last automatic attempt are stored in the settings. A check that
// did not reach or could not read the feed, or that is not done by its
// deadline however slowly data still arrives, is reported as failed and
// leaves the date of the last check alone. TLS errors are never ignored and a
// redirect never goes to a less safe scheme. Main thread only.
#pragma once

#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>
#include <QVersionNumber>
#include <chrono>
#include <functional>

#include "shell/UpdateFeed.h"
#include "shell/Updater.h"

class QNetworkReply;

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
  // last automatic attempt are both a day old or missing, or one is dated in
  // the future (the clock was set back).
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
  void finishCheck();
  UpdateCheckResult resultOf(QNetworkReply& reply) const;
  void scheduledCheck();

  Settings settings_;
  bool started_ = false;
  QNetworkAccessManager network_;
  QPointer<QNetworkReply> reply_;
  bool userInitiated_ = false;
  bool tooLarge_ = false;
  QTimer schedule_;
};
