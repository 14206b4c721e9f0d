#include "results/PreviewContent.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include "platform/BoundedImage.h"
#include "platform/RegularFile.h"

namespace {

constexpr qint64 textPrefixBytes = 64 * 1024;

void describe(PreviewContent& content, const QMimeType& type) {
  content.iconName = type.iconName();
  content.genericIconName = type.genericIconName();
  content.typeName = type.comment();
}

bool readImage(PreviewContent& content, const QString& path, QSize box, std::stop_token stop) {
  const auto file = openRegularFile(path);
  if (!file) return false;
  std::optional<QImage> picture = readImageFitting(*file, box, std::move(stop));
  if (!picture) return false;
  content.kind = PreviewContent::Kind::image;
  content.image = std::move(*picture);
  return true;
}

bool readText(PreviewContent& content, const QString& path) {
  const auto file = openRegularFile(path);
  if (!file || !QMimeDatabase().mimeTypeForFileNameAndData(path, file.get()).inherits(QStringLiteral("text/plain")))
    return false;
  content.kind = PreviewContent::Kind::text;
  content.text = QString::fromUtf8(file->read(textPrefixBytes)).replace(QChar(u'\0'), QChar(u'\u2400'));
  return true;
}

}  // namespace

PreviewContent readPreviewContent(const QString& path, QSize imageBox, std::stop_token stop) {
  PreviewContent content;
  if (readImage(content, path, imageBox, stop) || stop.stop_requested() || readText(content, path)) return content;
  const QFileInfo info(path);
  describe(content, QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension));
  if (info.exists()) content.size = static_cast<std::uint64_t>(std::max<qint64>(0, info.size()));
  return content;
}

PreviewContent namedPreviewContent(const QString& path) {
  PreviewContent content;
  const QList<QMimeType> types = QMimeDatabase().mimeTypesForFileName(path.section(u'/', -1));
  describe(content, types.isEmpty() ? QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream"))
                                    : types.first());
  return content;
}
