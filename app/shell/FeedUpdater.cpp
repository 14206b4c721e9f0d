#include "shell/FeedUpdater.h"

#include <QCoreApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
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

void storeDate(const QString& key, const QDateTime& date) {
  QSettings().setValue(key, date.toUTC().toString(Qt::ISODateWithMs));
}

UpdateCheckResult failure(const QString& error) {
  UpdateCheckResult result;
  result.error = error;
  return result;
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
  network_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
  connect(&schedule_, &QTimer::timeout, this, &FeedUpdater::scheduledCheck);
  if (started_) schedule_.start(settings_.firstAutomaticCheck);
}

FeedUpdater::~FeedUpdater() {
  if (reply_.isNull()) return;
  reply_->disconnect(this);
  reply_->abort();
}

bool FeedUpdater::automaticCheckDue() const {
  if (!started_ || !automaticallyChecksForUpdates()) return false;
  // A failing feed counts as asked, or it would be asked at every tick of the schedule.
  const std::optional<QDateTime> last = std::max(lastUpdateCheckDate(), storedDate(lastAutomaticAttemptKey));
  const QDateTime now = settings_.now();
  return !last || *last > now || last->msecsTo(now) >= std::chrono::milliseconds(automaticCheckAge).count();
}

bool FeedUpdater::canCheckForUpdates() const { return started_ && reply_.isNull(); }

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

// The request carries nothing but the address of the feed: not the user's
// languages, which Qt would add otherwise. Uncompressed, so that the size cap
// holds for what is read.
void FeedUpdater::check(bool userInitiated) {
  if (!canCheckForUpdates()) return;
  QNetworkRequest request(settings_.feed);
  request.setRawHeader("Accept-Language", "*");
  request.setRawHeader("Accept-Encoding", "identity");
  request.setTransferTimeout(static_cast<int>(settings_.transferTimeout.count()));
  userInitiated_ = userInitiated;
  tooLarge_ = false;
  reply_ = network_.get(request);
  // The transfer timeout alone never ends a check that trickles in a byte at a time.
  QTimer::singleShot(settings_.checkDeadline, reply_, &QNetworkReply::abort);
  connect(reply_, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
    if (received <= UpdateFeed::maximumSize && total <= UpdateFeed::maximumSize) return;
    tooLarge_ = true;
    reply_->abort();
  });
  connect(reply_, &QNetworkReply::finished, this, &FeedUpdater::finishCheck);
  emit canCheckForUpdatesChanged();
}

void FeedUpdater::finishCheck() {
  requireMainThread();
  QNetworkReply* reply = reply_.data();
  reply_.clear();
  reply->deleteLater();
  const UpdateCheckResult result = resultOf(*reply);
  if (result.outcome != UpdateCheckResult::Outcome::failed) storeDate(lastCheckKey, settings_.now());
  emit canCheckForUpdatesChanged();
  if (userInitiated_ || result.outcome == UpdateCheckResult::Outcome::available) emit resultToShow(result);
}

UpdateCheckResult FeedUpdater::resultOf(QNetworkReply& reply) const {
  if (tooLarge_) return failure(UpdateFeed::tooLargeText());
  if (reply.error() == QNetworkReply::OperationCanceledError)
    return failure(QCoreApplication::translate("FeedUpdater", "The update server did not answer in time."));
  if (reply.error() != QNetworkReply::NoError) return failure(reply.errorString());
  const UpdateFeedReading reading = readUpdateFeed(reply.read(UpdateFeed::maximumSize + 1));
  if (!reading.feed) return failure(reading.error);
  UpdateCheckResult result;
  result.feed = *reading.feed;
  result.outcome = result.feed.isNewerThan(settings_.runningVersion, settings_.runningBuild)
                       ? UpdateCheckResult::Outcome::available
                       : UpdateCheckResult::Outcome::upToDate;
  return result;
}
