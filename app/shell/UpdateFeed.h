// Our update feed: a small JSON object naming the newest release,
//   {"version": "1.2.0", "build": "45", "url": "https://…", "notes": "…"}
// "version" (dotted numbers) and "url" (https) are required, "build" and
// "notes" optional texts. The feed comes from the network and is read as
// untrusted input: a body over the size cap, a value of the wrong type or a
// download address that is not https or names a user is refused. Any thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QVersionNumber>
#include <optional>

struct UpdateFeed {
  // A larger body is refused; no more of it than this is read.
  static constexpr qint64 maximumSize = 64 * 1024;

  QVersionNumber version;
  QString build;
  QUrl download;
  // Plain text, never markup.
  QString notes;

  // Why a body over the cap is refused.
  static QString tooLargeText();

  // Whether this release is newer than the running one: a higher version, or
  // the same version with a higher build number.
  bool isNewerThan(const QVersionNumber& version, const QString& build) const;
};

// The feed of a body, or why it is not one.
struct UpdateFeedReading {
  std::optional<UpdateFeed> feed;
  QString error;
};

UpdateFeedReading readUpdateFeed(const QByteArray& body);

// A version of dotted numbers only ("1.10.0"); null for anything else.
QVersionNumber strictVersion(const QString& text);
