#include "widgets/CheckBoxStyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

#include "platform/FocusFrame.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "widgets/FocusStyle.h"

namespace {

constexpr qreal cornerRadius = 3.5;
constexpr qreal disabledOpacity = 0.4;
// The focus frame goes around the label, clear of it and of the box: the
// style's focus rectangle, hugging the label, grows by this room on every
// side, which the box's spacing and the check box's size leave free.
constexpr int focusRoom = 2;

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
    auto* made = new CheckBoxStyle(FocusStyle::createDesktopStyle());
    made->setParent(qApp);
    return made;
  }();
  return *style;
}

int CheckBoxStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  const int base = QProxyStyle::pixelMetric(metric, option, widget);
  return metric == PM_CheckBoxLabelSpacing ? base + focusRoom : base;
}

QSize CheckBoxStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const {
  const QSize base = QProxyStyle::sizeFromContents(type, option, size, widget);
  return type == CT_CheckBox ? base + QSize(2 * focusRoom, 2 * focusRoom) : base;
}

void CheckBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
  if (element == PE_FrameFocusRect) {
    // Instead of the style's faint fill, which all but vanishes on the card.
    if (!option->state.testFlag(State_KeyboardFocusChange)) return;
    QRect around = option->rect.adjusted(-focusRoom, -focusRoom, focusRoom, focusRoom);
    if (widget != nullptr) around &= widget->rect();
    paintFocusFrame(*painter, around, *option, {Palette::secondaryBackground()});
    return;
  }
  if (element != PE_IndicatorCheckBox) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // The outline's pen is centred on the box's edge: half a pixel in keeps it on whole pixels.
  const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
  paintCheckBox(*painter, box, option->state.testFlag(State_On), option->state.testFlag(State_Enabled),
                option->palette.color(QPalette::Base));
}
