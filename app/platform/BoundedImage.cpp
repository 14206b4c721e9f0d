#include "platform/BoundedImage.h"

#include <QImageReader>

std::optional<QImage> readImageFitting(QIODevice& device, QSize box) {
  QImageReader reader(&device);
  reader.setAutoTransform(true);
  const QSize declared = reader.size();
  if (!declared.isValid() || qint64{declared.width()} * declared.height() > largestDecodedPixels) return std::nullopt;
  // Formats that scale while decoding (JPEG) never hold the full picture.
  if (declared.width() > box.width() || declared.height() > box.height())
    reader.setScaledSize(declared.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  // An orientation turned by a quarter swaps the sides; fit once more.
  if (image.width() > box.width() || image.height() > box.height())
    image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return image;
}
