// The application's information keys, fixed when it is built: the short
// version ("CFBundleShortVersionString"), the build number
// ("CFBundleVersion"), the notice line ("NSHumanReadableCopyright"), the
// website and the update feed. Values are texts; any thread.
#pragma once

#include <QString>
#include <QUrl>
#include <QVariantMap>

namespace BundleInfo {

inline const QString shortVersionKey = QStringLiteral("CFBundleShortVersionString");
inline const QString versionKey = QStringLiteral("CFBundleVersion");
inline const QString copyrightKey = QStringLiteral("NSHumanReadableCopyright");
inline const QString websiteKey = QStringLiteral("QuelmarisWebsiteURL");
inline const QString updateFeedKey = QStringLiteral("QuelmarisUpdateFeedURL");

// Every key with its value from the build.
const QVariantMap& dictionary();

// The value of the key when it is a text; empty when the key is missing or
// holds anything else.
QString infoString(const QString& key, const QVariantMap& info = dictionary());

// The website; the About window's links are resolved against it.
QUrl websiteUrl();
// The update feed; empty when the build has none.
QUrl updateFeedUrl();

}  // namespace BundleInfo
