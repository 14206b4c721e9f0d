#include "widgets/DecorativePicture.h"

#include <QEvent>
#include <QPainter>

#include "platform/AccessibleRole.h"
#include "platform/MainThread.h"

DecorativePicture::DecorativePicture(QWidget* parent) : QWidget(parent) {
  requireMainThread();
  // Put in its place by the constructor, the picture gets no ParentChange.
  if (parent != nullptr) hideFromAccessibility(*this);
}

DecorativePicture::DecorativePicture(const QIcon& icon, int side, QWidget* parent) : DecorativePicture(parent) {
  icon_ = icon;
  setFixedSize(side, side);
}

// Layouts move a picture into the widget they manage: each new container
// must leave it out too.
bool DecorativePicture::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::ParentChange && parentWidget() != nullptr) hideFromAccessibility(*this);
  return handled;
}

void DecorativePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  icon_.paint(&painter, rect());
}
