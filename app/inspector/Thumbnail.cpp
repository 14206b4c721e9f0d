#include "inspector/Thumbnail.h"

#include <QPainter>

#include "platform/Icons.h"

Thumbnail::Thumbnail(QWidget* parent) : DecorativePicture(parent) { setFixedSize(side, side); }

void Thumbnail::setImage(const std::optional<QImage>& image) {
  // Every change of the model redraws the pane: convert each picture once.
  const qint64 key = image ? image->cacheKey() : 0;
  if (key == imageKey_) return;
  imageKey_ = key;
  // Made from the image here, on the main thread, the only place a pixmap may live.
  pixmap_ = image ? QPixmap::fromImage(*image) : QPixmap();
  update();
}

void Thumbnail::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (pixmap_.isNull()) {
    painter.setOpacity(0.5);
    Icons::symbol(QStringLiteral("doc")).paint(&painter, rect());
    return;
  }
  const QSize fitted = pixmap_.size().scaled(size(), Qt::KeepAspectRatio);
  QRect target(QPoint(0, 0), fitted);
  target.moveCenter(rect().center());
  painter.drawPixmap(target, pixmap_);
}
