#include "shell/UpdateFeed.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

UpdateFeedReading refused(const char* error) {
  return {std::nullopt, QCoreApplication::translate("UpdateFeed", error)};
}

}  // namespace

QString UpdateFeed::tooLargeText() {
  return QCoreApplication::translate("UpdateFeed", "The update information is too large.");
}

// Digits 0 to 9 between single dots: no sign, space or other digit, which
// QVersionNumber would take.
QVersionNumber strictVersion(const QString& text) {
  const QStringList parts = text.split(u'.');
  if (!std::ranges::all_of(parts, [](const QString& part) {
        return !part.isEmpty() && std::ranges::all_of(part, [](QChar c) { return c >= u'0' && c <= u'9'; });
      }))
    return QVersionNumber();
  qsizetype end = 0;
  const QVersionNumber version = QVersionNumber::fromString(text, &end);
  return end == text.size() ? version : QVersionNumber();
}

bool UpdateFeed::isNewerThan(const QVersionNumber& running, const QString& runningBuild) const {
  const QVersionNumber offered = version.normalized();
  const QVersionNumber current = running.normalized();
  if (offered != current) return offered > current;
  return strictVersion(build) > strictVersion(runningBuild);
}

UpdateFeedReading readUpdateFeed(const QByteArray& body) {
  if (body.size() > UpdateFeed::maximumSize) return {std::nullopt, UpdateFeed::tooLargeText()};
  const QJsonDocument document = QJsonDocument::fromJson(body);
  if (!document.isObject())
    return refused(QT_TRANSLATE_NOOP("UpdateFeed", "The update information could not be read."));
  const QJsonObject object = document.object();
  const QJsonValue version = object.value(QLatin1String("version"));
  const QJsonValue build = object.value(QLatin1String("build"));
  const QJsonValue url = object.value(QLatin1String("url"));
  const QJsonValue notes = object.value(QLatin1String("notes"));
  UpdateFeed feed;
  feed.version = strictVersion(version.toString());
  if (!version.isString() || feed.version.isNull())
    return refused(QT_TRANSLATE_NOOP("UpdateFeed", "The update information has no valid version."));
  if (!(build.isUndefined() || build.isString()) || !(notes.isUndefined() || notes.isString()))
    return refused(QT_TRANSLATE_NOOP("UpdateFeed", "The update information could not be read."));
  feed.build = build.toString();
  feed.notes = notes.toString();
  feed.download = QUrl(url.toString(), QUrl::StrictMode);
  // With user information ("https://quelmaris.org@evil.example/"), an address reads as ours and opens another host.
  if (!url.isString() || !feed.download.isValid() || feed.download.scheme() != QLatin1String("https") ||
      feed.download.host().isEmpty() || !feed.download.userInfo().isEmpty())
    return refused(QT_TRANSLATE_NOOP("UpdateFeed", "The update information has no secure download address."));
  return {feed, QString()};
}
