#include "widgets/ElidingButton.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

ElidingButton::ElidingButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

QString ElidingButton::shownText() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  // The room inside the frame and the padding, as the style lays the title out.
  const int room = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width();
  return fontMetrics().elidedText(text(), Qt::ElideRight, room);
}

void ElidingButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text = shownText();
  painter.drawControl(QStyle::CE_PushButton, option);
}

void ElidingButton::resizeEvent(QResizeEvent* event) {
  QPushButton::resizeEvent(event);
  refreshToolTip();
}

void ElidingButton::changeEvent(QEvent* event) {
  QPushButton::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) refreshToolTip();
}

void ElidingButton::refreshToolTip() { setToolTip(shownText() == text() ? QString() : text()); }
