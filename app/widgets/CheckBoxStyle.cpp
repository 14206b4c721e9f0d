#include "widgets/CheckBoxStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include "platform/MainThread.h"
#include "platform/Palette.h"

namespace {

constexpr qreal cornerRadius = 3.5;
constexpr qreal disabledOpacity = 0.4;

}  // namespace

void paintCheckBox(QPainter& painter, const QRectF& box, bool ticked, bool enabled, const QColor& base) {
  const QColor fill = ticked ? Palette::brand() : base;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  if (!enabled) painter.setOpacity(disabledOpacity);
  painter.setPen(QPen(ticked ? fill : Palette::controlOutline(), 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(box, cornerRadius, cornerRadius);
  if (ticked) {
    const auto at = [&box](qreal x, qreal y) {
      return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    };
    const QPointF tick[] = {at(0.24, 0.52), at(0.42, 0.7), at(0.76, 0.3)};
    painter.setPen(QPen(Palette::textOn(fill), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(tick, 3);
  }
  painter.restore();
}

CheckBoxStyle& CheckBoxStyle::shared() {
  requireMainThread();
  static CheckBoxStyle* style = [] {
    auto* made = new CheckBoxStyle(QStyleFactory::create(QApplication::style()->name()));
    made->setParent(qApp);
    return made;
  }();
  return *style;
}

void CheckBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
  if (element != PE_IndicatorCheckBox) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // The outline's pen is centred on the box's edge: half a pixel in keeps it on whole pixels.
  const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
  paintCheckBox(*painter, box, option->state.testFlag(State_On), option->state.testFlag(State_Enabled),
                option->palette.color(QPalette::Base));
}
