#include "widgets/BorderlessButton.h"

#include <QPainter>
#include <QStyleOptionButton>

#include "platform/FocusFrame.h"

BorderlessButton::BorderlessButton(const QIcon& icon, const QString& text, QWidget* parent)
    : QPushButton(icon, text, parent) {
  setFlat(true);
  setCursor(Qt::PointingHandCursor);
}

void BorderlessButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  QStyleOptionButton option;
  initStyleOption(&option);
  if (!showsFocusFrame(option)) return;
  QPainter painter(this);
  paintFocusFrame(painter, rect(), option);
}
