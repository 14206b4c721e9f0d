#include "platform/SymbolDrawing.h"

#include <QPainterPath>
#include <QPen>
#include <functional>
#include <map>

namespace {

// Every drawing works in a 24 × 24 square; the painter is scaled to the target.
using Drawing = std::function<void(QPainter&, const QColor&)>;

QPen stroke(const QColor& tint, qreal width = 1.8) {
  QPen pen(tint, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

QPainterPath folderOutline() {
  QPainterPath path;
  path.moveTo(2.5, 6.5);
  path.quadTo(2.5, 4.5, 4.5, 4.5);
  path.lineTo(9.0, 4.5);
  path.lineTo(11.0, 6.8);
  path.lineTo(19.5, 6.8);
  path.quadTo(21.5, 6.8, 21.5, 8.8);
  path.lineTo(21.5, 17.5);
  path.quadTo(21.5, 19.5, 19.5, 19.5);
  path.lineTo(4.5, 19.5);
  path.quadTo(2.5, 19.5, 2.5, 17.5);
  path.closeSubpath();
  return path;
}

void drawFolder(QPainter& painter, const QColor& tint) {
  QColor fill = tint;
  fill.setAlphaF(tint.alphaF() * 0.22f);
  painter.setPen(stroke(tint, 1.6));
  painter.setBrush(fill);
  painter.drawPath(folderOutline());
  painter.drawLine(QPointF(2.5, 9.5), QPointF(21.5, 9.5));
}

void drawQuestionMark(QPainter& painter, const QColor& tint, const QPointF& centre, qreal scale) {
  QPainterPath hook;
  hook.moveTo(centre + QPointF(-2.2, -1.6) * scale);
  hook.cubicTo(centre + QPointF(-2.2, -4.4) * scale, centre + QPointF(2.4, -4.4) * scale,
               centre + QPointF(2.4, -1.8) * scale);
  hook.cubicTo(centre + QPointF(2.4, 0.0) * scale, centre + QPointF(0.0, 0.2) * scale,
               centre + QPointF(0.0, 1.8) * scale);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(stroke(tint, 1.6));
  painter.drawPath(hook);
  painter.setPen(Qt::NoPen);
  painter.setBrush(tint);
  painter.drawEllipse(centre + QPointF(0.0, 4.2) * scale, 1.0 * scale, 1.0 * scale);
}

void drawFolderQuestion(QPainter& painter, const QColor& tint) {
  painter.setPen(stroke(tint, 1.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(folderOutline());
  drawQuestionMark(painter, tint, QPointF(12.0, 13.6), 0.95);
}

void drawPlus(QPainter& painter, const QColor& tint) {
  painter.setPen(stroke(tint, 2.0));
  painter.drawLine(QPointF(12, 5), QPointF(12, 19));
  painter.drawLine(QPointF(5, 12), QPointF(19, 12));
}

void drawCircle(QPainter& painter, const QColor& tint) {
  painter.setPen(stroke(tint, 1.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(12, 12), 8.5, 8.5);
}

void drawCheckmarkCircle(QPainter& painter, const QColor& tint) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(tint);
  painter.drawEllipse(QPointF(12, 12), 9.5, 9.5);
  QPainterPath check;
  check.moveTo(7.6, 12.4);
  check.lineTo(10.6, 15.3);
  check.lineTo(16.4, 8.9);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(stroke(Qt::white, 2.2));
  painter.drawPath(check);
}

void drawStop(QPainter& painter, const QColor& tint) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(tint);
  painter.drawRoundedRect(QRectF(6, 6, 12, 12), 2.5, 2.5);
}

const std::map<QString, Drawing>& drawings() {
  static const std::map<QString, Drawing> table{
      {QStringLiteral("folder"), drawFolder},
      {QStringLiteral("folder.badge.questionmark"), drawFolderQuestion},
      {QStringLiteral("plus"), drawPlus},
      {QStringLiteral("circle"), drawCircle},
      {QStringLiteral("checkmark.circle.fill"), drawCheckmarkCircle},
      {QStringLiteral("stop.fill"), drawStop},
  };
  return table;
}

}  // namespace

namespace Icons::detail {

bool hasDrawing(const QString& name) { return drawings().count(name) != 0; }

void drawSymbol(QPainter& painter, const QString& name, const QRectF& bounds, const QColor& tint) {
  const auto found = drawings().find(name);
  if (found == drawings().end()) return;
  const qreal side = std::min(bounds.width(), bounds.height());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(bounds.center() - QPointF(side / 2, side / 2));
  painter.scale(side / 24.0, side / 24.0);
  found->second(painter, tint);
  painter.restore();
}

}  // namespace Icons::detail
