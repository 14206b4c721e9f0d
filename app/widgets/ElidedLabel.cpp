#include "widgets/ElidedLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <cmath>

#include "platform/PlainToolTip.h"

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {
  setTextFormat(Qt::PlainText);
}

void ElidedLabel::setWholeText(const QString& text) {
  whole_ = text;
  setAccessibleName(text);
  refit();
  updateGeometry();
}

void ElidedLabel::setStandingToolTip(const QString& tip) {
  standingToolTip_ = tip;
  refit();
}

// Text is laid out at fractional widths: a width rounded down would cut it.
QSize ElidedLabel::withMargins(qreal textWidth) const {
  const QMargins margins = contentsMargins();
  return {static_cast<int>(std::ceil(textWidth)) + margins.left() + margins.right() + 2 * margin(),
          fontMetrics().height() + margins.top() + margins.bottom() + 2 * margin()};
}

QSize ElidedLabel::sizeHint() const { return withMargins(QFontMetricsF(font()).horizontalAdvance(whole_)); }

QSize ElidedLabel::minimumSizeHint() const {
  return withMargins(QFontMetricsF(font()).horizontalAdvance(QChar(0x2026)));
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  refit();
}

void ElidedLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    refit();
    updateGeometry();
  }
}

void ElidedLabel::refit() {
  const QFontMetricsF metrics(font());
  const qreal room = contentsRect().width() - 2 * margin();
  elided_ = metrics.horizontalAdvance(whole_) > room;
  setText(elided_ ? metrics.elidedText(whole_, mode_, room) : whole_);
  setPlainToolTip(*this, !standingToolTip_.isEmpty() ? standingToolTip_ : elided_ ? whole_ : QString());
}
