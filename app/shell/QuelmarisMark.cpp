#include "shell/QuelmarisMark.h"

#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <algorithm>

#include "platform/MainThread.h"

namespace {

// The mark is designed on a 100 by 100 grid, origin at the top left.
constexpr qreal gridSize = 100.0;

const QColor navy(15, 23, 42);
const QColor russet(224, 122, 79);
const QColor darkRusset(169, 80, 44);
const QColor cream(244, 228, 218);
const QColor darkCream(217, 194, 180);
const QColor green(52, 211, 153);

QPen pen(const QColor& color, qreal width, Qt::PenCapStyle cap, Qt::PenJoinStyle join) {
  QPen result(color, width, Qt::SolidLine, cap, join);
  result.setMiterLimit(10);
  return result;
}

void drawDocument(QPainter& painter, qreal x0, const QColor& body, const QColor& fold) {
  QPainterPath outline;
  outline.moveTo(x0, 25);
  outline.lineTo(x0 + 25, 25);
  outline.lineTo(x0 + 35, 35);
  outline.lineTo(x0 + 35, 75);
  outline.lineTo(x0, 75);
  outline.closeSubpath();
  painter.fillPath(outline, body);
  painter.strokePath(outline, pen(body, 1.6, Qt::FlatCap, Qt::RoundJoin));

  QPainterPath corner;
  corner.moveTo(x0 + 25, 25);
  corner.lineTo(x0 + 25, 35);
  corner.lineTo(x0 + 35, 35);
  corner.closeSubpath();
  painter.fillPath(corner, fold);
}

void drawHandle(QPainter& painter) {
  QPainterPath handle;
  handle.moveTo(60.6, 80.6);
  handle.lineTo(68, 88);
  painter.strokePath(handle, pen(green, 7, Qt::RoundCap, Qt::MiterJoin));
}

void drawLens(QPainter& painter) {
  QPainterPath lens;
  lens.addEllipse(QRectF(35, 55, 30, 30));
  painter.fillPath(lens, navy);
  painter.strokePath(lens, pen(green, 4.5, Qt::FlatCap, Qt::MiterJoin));

  for (const qreal y : {64.0, 72.0}) {
    QPainterPath bar;
    bar.addRoundedRect(QRectF(42, y, 16, 4), 2, 2);
    painter.fillPath(bar, cream);
  }
}

}  // namespace

QuelmarisMark::QuelmarisMark(QWidget* parent) : DecorativePicture(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

void QuelmarisMark::draw(QPainter& painter, const QRectF& frame) {
  requireMainThread();
  const qreal side = std::min(frame.width(), frame.height());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(frame.center() - QPointF(side / 2, side / 2));
  painter.scale(side / gridSize, side / gridSize);
  drawDocument(painter, 12, russet, darkRusset);
  drawDocument(painter, 53, cream, darkCream);
  drawHandle(painter);
  drawLens(painter);
  painter.restore();
}

QPixmap QuelmarisMark::pixmap(int side, qreal devicePixelRatio) {
  QPixmap image(QSize(side, side) * devicePixelRatio);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  draw(painter, QRectF(0, 0, side, side));
  return image;
}

QIcon QuelmarisMark::icon() {
  QIcon icon;
  for (const int side : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(pixmap(side));
  return icon;
}

void QuelmarisMark::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  draw(painter, rect());
}
