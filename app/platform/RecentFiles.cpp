#include "platform/RecentFiles.h"

#include <sys/stat.h>

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <mutex>

#include "platform/RegularFile.h"
#include "platform/UserFolders.h"

namespace {

using LastUsed = QHash<QByteArray, QDateTime>;

// Identifies one version of the list file, so that a rewritten list is read again.
struct Version {
  QString path;
  qint64 modifiedNs = -1;
  qint64 size = -1;
  bool operator==(const Version&) const = default;
};

void noteStamp(QDateTime& latest, const QXmlStreamAttributes& attributes, QLatin1StringView name) {
  const QDateTime stamp = QDateTime::fromString(attributes.value(name).toString(), Qt::ISODate);
  if (stamp.isValid() && (!latest.isValid() || stamp > latest)) latest = stamp;
}

// Each bookmark's file, as the bytes of its path, with its latest stamp. The
// href is compared as bytes: GLib escapes differently from QUrl.
LastUsed parse(QIODevice& device) {
  LastUsed result;
  QXmlStreamReader xml(&device);
  QByteArray current;
  QDateTime latest;
  while (!xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      const QXmlStreamAttributes attributes = xml.attributes();
      if (xml.name() == QLatin1StringView("bookmark")) {
        const QByteArray href = attributes.value(QLatin1StringView("href")).toUtf8();
        current = href.startsWith("file://") ? QByteArray::fromPercentEncoding(href.mid(7)) : QByteArray();
        latest = {};
        noteStamp(latest, attributes, QLatin1StringView("visited"));
        noteStamp(latest, attributes, QLatin1StringView("modified"));
      } else if (xml.name() == QLatin1StringView("application") && !current.isEmpty()) {
        noteStamp(latest, attributes, QLatin1StringView("modified"));
      }
    } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1StringView("bookmark")) {
      if (!current.isEmpty() && latest.isValid()) result.insert(current, latest);
      current.clear();
    }
  }
  // A list that is not well-formed is not trusted at all.
  return xml.hasError() ? LastUsed() : result;
}

std::optional<Version> versionOf(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
  return Version{path, qint64{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec, qint64{st.st_size}};
}

}  // namespace

namespace RecentFiles {

std::optional<QDateTime> lastUsed(const QString& path) {
  static std::mutex mutex;
  static std::optional<Version> parsedVersion;
  static LastUsed parsed;

  const QString list = UserFolders::dataHome() + QStringLiteral("/recently-used.xbel");
  const std::optional<Version> version = versionOf(list);
  if (!version) return std::nullopt;
  std::lock_guard lock(mutex);
  if (version != parsedVersion) {
    const auto file = openRegularFile(list);
    parsed = file ? parse(*file) : LastUsed();
    parsedVersion = version;
  }
  const auto found = parsed.constFind(QFile::encodeName(path));
  if (found == parsed.constEnd()) return std::nullopt;
  return *found;
}

}  // namespace RecentFiles
