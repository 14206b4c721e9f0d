#include "platform/BoundedImage.h"

#include <QColorSpace>
#include <QImageReader>

#include "platform/PictureScreening.h"
#include "platform/SplicedDevice.h"

namespace {

// The same pixels without the text a decoder attached to them.
QImage withoutText(const QImage& image) {
  if (image.textKeys().isEmpty()) return image;
  QImage pixels(image.constBits(), image.width(), image.height(), image.bytesPerLine(), image.format());
  pixels.setColorTable(image.colorTable());
  pixels.setColorSpace(image.colorSpace());
  return pixels.copy();
}

}  // namespace

std::optional<QImage> readImageFitting(QIODevice& device, QSize box, std::stop_token stop,
                                       QHash<QString, QString>* text) {
  const std::optional<QList<ByteRange>> leftOut = screenPicture(device);
  if (!leftOut) return std::nullopt;
  SplicedDevice source(device, *leftOut, stop);
  if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
  QImageReader reader(&source);
  reader.setAutoTransform(true);
  const QSize declared = reader.size();
  if (!declared.isValid() || qint64{declared.width()} * declared.height() > largestDecodedPixels) return std::nullopt;
  // Formats that scale while decoding (JPEG) never hold the full picture.
  if (declared.width() > box.width() || declared.height() > box.height())
    reader.setScaledSize(declared.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  QImage image = reader.read();
  if (image.isNull() || stop.stop_requested()) return std::nullopt;
  if (text != nullptr)
    for (const QString& key : image.textKeys()) text->insert(key, image.text(key));
  // An orientation turned by a quarter swaps the sides; fit once more.
  if (image.width() > box.width() || image.height() > box.height())
    image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return withoutText(image);
}
