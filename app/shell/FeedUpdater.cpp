#include "shell/FeedUpdater.h"

#include <QCoreApplication>
#include <QSettings>
#include <algorithm>

#include "platform/BundleInfo.h"
#include "platform/MainThread.h"

namespace {

const QString automaticallyChecksKey = QStringLiteral("automaticallyChecksForUpdates");
const QString lastCheckKey = QStringLiteral("lastUpdateCheckDate");
const QString lastAutomaticAttemptKey = QStringLiteral("lastAutomaticUpdateCheckAttempt");

constexpr auto automaticCheckAge = std::chrono::hours(24);

bool readableScheme(const QUrl& feed) {
  const QString scheme = feed.scheme();
  return feed.isValid() && (scheme == QLatin1String("https") || scheme == QLatin1String("http") ||
                            (scheme == QLatin1String("file") && feed.isLocalFile()));
}

std::optional<QDateTime> storedDate(const QString& key) {
  const QDateTime date = QDateTime::fromString(QSettings().value(key).toString(), Qt::ISODateWithMs);
  if (!date.isValid()) return std::nullopt;
  return date;
}

// A date later than now tells nothing of when a check last ran.
std::optional<QDateTime> pastDate(const QString& key, const QDateTime& now) {
  const std::optional<QDateTime> date = storedDate(key);
  if (date && *date > now) return std::nullopt;
  return date;
}

void storeDate(const QString& key, const QDateTime& date) {
  QSettings().setValue(key, date.toUTC().toString(Qt::ISODateWithMs));
}

UpdateCheckResult failure(const QString& error) {
  UpdateCheckResult result;
  result.error = error;
  return result;
}

UpdateCheckResult timedOut() {
  return failure(QCoreApplication::translate("FeedUpdater", "The update server did not answer in time."));
}

// In the application's own words: of what the server sent, only the status number is shown.
QString failureText(const FeedFetchResult& fetched) {
  using Failure = FeedFetchResult::Failure;
  const auto text = [](const char* source) { return QCoreApplication::translate("FeedUpdater", source); };
  switch (fetched.failure) {
    case Failure::tooLarge:
      return UpdateFeed::tooLargeText();
    case Failure::silent:
      return timedOut().error;
    case Failure::httpStatus:
      return text("The update server answered with error %1.").arg(fetched.httpStatus);
    case Failure::refusedRedirect:
      return text("The update server sent the check to an address it may not use.");
    case Failure::unreachable:
      return text("The update server could not be reached.");
    case Failure::untrusted:
      return text("The update server’s identity could not be verified.");
    case Failure::interrupted:
      return text("The update information could not be downloaded.");
    case Failure::unreadable:
    case Failure::none:
      break;
  }
  return text("The update information could not be read.");
}

}  // namespace

FeedUpdater::Settings FeedUpdater::productionSettings(bool starting) {
  Settings settings;
  settings.feed = BundleInfo::updateFeedUrl();
  settings.starting = starting;
  settings.runningVersion = strictVersion(BundleInfo::infoString(BundleInfo::shortVersionKey));
  settings.runningBuild = BundleInfo::infoString(BundleInfo::versionKey);
  return settings;
}

FeedUpdater::FeedUpdater(Settings settings, QObject* parent)
    : Updater(parent), settings_(std::move(settings)), started_(settings_.starting && readableScheme(settings_.feed)) {
  requireMainThread();
  deadline_.setSingleShot(true);
  connect(&deadline_, &QTimer::timeout, this, [this] { finishCheck(timedOut()); });
  schedule_.setParent(this);
  schedule_.setObjectName(QStringLiteral("automaticCheckSchedule"));
  connect(&schedule_, &QTimer::timeout, this, &FeedUpdater::scheduledCheck);
  if (started_) schedule_.start(settings_.firstAutomaticCheck);
}

FeedUpdater::~FeedUpdater() = default;

bool FeedUpdater::automaticCheckDue() const {
  if (!started_ || !automaticallyChecksForUpdates()) return false;
  const QDateTime now = settings_.now();
  // A failing feed counts as asked, or it would be asked at every tick of the schedule.
  const std::optional<QDateTime> last = std::max(pastDate(lastCheckKey, now), pastDate(lastAutomaticAttemptKey, now));
  return !last || last->msecsTo(now) >= std::chrono::milliseconds(automaticCheckAge).count();
}

bool FeedUpdater::canCheckForUpdates() const { return started_ && !fetch_; }

bool FeedUpdater::automaticallyChecksForUpdates() const {
  return QSettings().value(automaticallyChecksKey, false).toBool();
}

void FeedUpdater::setAutomaticallyChecksForUpdates(bool automatically) {
  requireMainThread();
  QSettings().setValue(automaticallyChecksKey, automatically);
  if (automatically && started_) schedule_.start(settings_.firstAutomaticCheck);
}

std::optional<QDateTime> FeedUpdater::lastUpdateCheckDate() const { return storedDate(lastCheckKey); }

void FeedUpdater::checkForUpdates() {
  requireMainThread();
  check(true);
}

void FeedUpdater::scheduledCheck() {
  schedule_.setInterval(settings_.automaticCheckInterval);
  if (!automaticCheckDue() || !canCheckForUpdates()) return;
  storeDate(lastAutomaticAttemptKey, settings_.now());
  check(false);
}

void FeedUpdater::check(bool userInitiated) {
  if (!canCheckForUpdates()) return;
  userInitiated_ = userInitiated;
  const quint64 check = ++checks_;
  const auto done = [this, check](const FeedFetchResult& fetched) {
    QMetaObject::invokeMethod(
        this,
        [this, check, fetched] {
          if (check == checks_ && fetch_) finishCheck(resultOf(fetched));
        },
        Qt::QueuedConnection);
  };
  fetch_ = std::make_unique<FeedFetch>(settings_.feed,
                                       FeedFetchLimits{UpdateFeed::maximumSize, settings_.transferTimeout}, done);
  // However the bytes come, or do not (a file on a stopped mount), the check ends at its deadline.
  deadline_.start(settings_.checkDeadline);
  emit canCheckForUpdatesChanged();
}

void FeedUpdater::finishCheck(const UpdateCheckResult& result) {
  requireMainThread();
  deadline_.stop();
  fetch_.reset();
  if (result.outcome != UpdateCheckResult::Outcome::failed) storeDate(lastCheckKey, settings_.now());
  emit canCheckForUpdatesChanged();
  if (userInitiated_ || result.outcome == UpdateCheckResult::Outcome::available) emit resultToShow(result);
}

UpdateCheckResult FeedUpdater::resultOf(const FeedFetchResult& fetched) const {
  if (fetched.failure != FeedFetchResult::Failure::none) return failure(failureText(fetched));
  const UpdateFeedReading reading = readUpdateFeed(fetched.body);
  if (!reading.feed) return failure(reading.error);
  UpdateCheckResult result;
  result.feed = *reading.feed;
  result.outcome = result.feed.isNewerThan(settings_.runningVersion, settings_.runningBuild)
                       ? UpdateCheckResult::Outcome::available
                       : UpdateCheckResult::Outcome::upToDate;
  return result;
}
