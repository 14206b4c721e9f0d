#include "platform/ThumbnailCache.h"

#include <QCryptographicHash>
#include <QFile>
#include <array>

#include "platform/BoundedImage.h"
#include "platform/RegularFile.h"
#include "platform/UserFolders.h"

namespace {

bool keptByGlib(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return QByteArrayView("!$&'()*+,=:@/-._~").contains(c);
}

// The standard's sizes: the 256-pixel one fits the inspector exactly, larger
// ones cost more to read, and the 128-pixel one looks soft at that size.
constexpr std::array folders{"large", "x-large", "xx-large", "normal"};
// The side of the standard's largest thumbnails.
constexpr int largestSide = 1024;

bool describes(const QHash<QString, QString>& text, const QByteArray& uri, std::int64_t modifiedSeconds,
               std::uint64_t size) {
  if (text.value(QStringLiteral("Thumb::URI")).toUtf8() != uri) return false;
  if (text.value(QStringLiteral("Thumb::MTime")) != QString::number(modifiedSeconds)) return false;
  const QString recordedSize = text.value(QStringLiteral("Thumb::Size"));
  return recordedSize.isEmpty() || recordedSize == QString::number(size);
}

}  // namespace

namespace ThumbnailCache {

QByteArray fileUri(const QString& path) {
  static constexpr char hex[] = "0123456789ABCDEF";
  QByteArray uri("file://");
  for (const char c : QFile::encodeName(path)) {
    if (keptByGlib(c)) {
      uri += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      uri += '%';
      uri += hex[byte >> 4];
      uri += hex[byte & 0xF];
    }
  }
  return uri;
}

std::optional<QImage> thumbnail(const QString& path, std::int64_t modifiedSeconds, std::uint64_t size, int side,
                                std::stop_token stop) {
  const QByteArray uri = fileUri(path);
  const QString name =
      QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) + QStringLiteral(".png");
  const QString root = UserFolders::cacheHome() + QStringLiteral("/thumbnails/");
  for (const char* folder : folders) {
    const auto file = openRegularFile(root + QLatin1String(folder) + u'/' + name);
    if (!file) continue;
    // The standard's keys are read with the picture, not before it.
    QHash<QString, QString> text;
    const std::optional<QImage> image = readImageFitting(*file, QSize(largestSide, largestSide), stop, &text);
    if (!image || !describes(text, uri, modifiedSeconds, size)) continue;
    if (image->width() <= side && image->height() <= side) return image;
    return image->scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  return std::nullopt;
}

}  // namespace ThumbnailCache
