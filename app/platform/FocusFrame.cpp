#include "platform/FocusFrame.h"

#include <QPainter>
#include <QStyleOption>

namespace {

constexpr qreal frameWidth = 2;
constexpr qreal radius = 4;

}  // namespace

bool showsFocusFrame(const QStyleOption& option) {
  return option.state.testFlag(QStyle::State_HasFocus) && option.state.testFlag(QStyle::State_KeyboardFocusChange);
}

void paintFocusFrame(QPainter& painter, const QRect& rect, const QStyleOption& option) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  // On a selected row the highlight colour would vanish into the selection.
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  painter.setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight), frameWidth));
  painter.setBrush(Qt::NoBrush);
  const qreal inset = frameWidth / 2 + 1;
  painter.drawRoundedRect(QRectF(rect).adjusted(inset, inset, -inset, -inset), radius, radius);
  painter.restore();
}
