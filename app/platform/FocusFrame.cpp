#include "platform/FocusFrame.h"

#include <QPainter>
#include <QStyleOption>

#include "platform/Palette.h"

namespace {

constexpr qreal frameWidth = 2;
constexpr qreal radius = 4;

// On a selected row the highlight colour would vanish into the selection.
QColor frameColour(const QStyleOption& option, const QList<QColor>& grounds) {
  const QPalette& palette = option.palette;
  if (option.state.testFlag(QStyle::State_Selected))
    return Palette::readableOn(palette.color(QPalette::HighlightedText), {palette.color(QPalette::Highlight)},
                               Palette::outlineContrast);
  return Palette::readableOn(palette.color(QPalette::Highlight), grounds, Palette::outlineContrast);
}

}  // namespace

bool showsFocusFrame(const QStyleOption& option) {
  return option.state.testFlag(QStyle::State_HasFocus) && option.state.testFlag(QStyle::State_KeyboardFocusChange);
}

void paintFocusFrame(QPainter& painter, const QRect& rect, const QStyleOption& option, const QList<QColor>& grounds) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(frameColour(option, grounds), frameWidth));
  painter.setBrush(Qt::NoBrush);
  const qreal inset = focusFrameRoom - frameWidth / 2;
  painter.drawRoundedRect(QRectF(rect).adjusted(inset, inset, -inset, -inset), radius, radius);
  painter.restore();
}
