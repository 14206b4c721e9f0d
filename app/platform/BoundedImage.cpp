#include "platform/BoundedImage.h"

#include <QImageReader>

std::optional<QImage> readImageFitting(QIODevice& device, int side) {
  QImageReader reader(&device);
  reader.setAutoTransform(true);
  const QSize declared = reader.size();
  if (!declared.isValid() || qint64{declared.width()} * declared.height() > largestDecodedPixels) return std::nullopt;
  const QSize box(side, side);
  // Formats that scale while decoding (JPEG) never hold the full picture.
  if (declared.width() > side || declared.height() > side)
    reader.setScaledSize(declared.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  // An orientation turned by a quarter swaps the sides; fit once more.
  if (image.width() > side || image.height() > side)
    image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return image;
}
