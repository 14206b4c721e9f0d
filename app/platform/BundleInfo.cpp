#include "platform/BundleInfo.h"

#include "platform/BuildSettings.h"

namespace BundleInfo {

const QVariantMap& dictionary() {
  static const QVariantMap info{
      {shortVersionKey, QStringLiteral(QUELMARIS_BUILD_VERSION)},
      {versionKey, QStringLiteral(QUELMARIS_BUILD_NUMBER)},
      {copyrightKey, QStringLiteral(QUELMARIS_BUILD_COPYRIGHT)},
      {websiteKey, QStringLiteral(QUELMARIS_BUILD_WEBSITE_URL)},
      {updateFeedKey, QStringLiteral(QUELMARIS_BUILD_UPDATE_FEED_URL)},
  };
  return info;
}

QString infoString(const QString& key, const QVariantMap& info) {
  const QVariant value = info.value(key);
  return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QUrl websiteUrl() {
  static const QUrl url(infoString(websiteKey), QUrl::StrictMode);
  return url;
}

QUrl updateFeedUrl() { return QUrl(infoString(updateFeedKey), QUrl::StrictMode); }

}  // namespace BundleInfo
