#include "widgets/FocusRing.h"

#include <QFocusEvent>
#include <QPainter>

#include "platform/MainThread.h"
#include "platform/Palette.h"

namespace {

constexpr int ringWidth = 2;
// A gap of one pixel between the control and the ring.
constexpr int outset = FocusRing::margin;
static_assert(outset == ringWidth + 1);
constexpr char attachedProperty[] = "quelmarisFocusRing";

}  // namespace

FocusRing* FocusRing::attach(QWidget& target, int cornerRadius) {
  requireMainThread();
  return new FocusRing(target, cornerRadius, outset);
}

FocusRing* FocusRing::attachInside(QWidget& target, int cornerRadius) {
  requireMainThread();
  return new FocusRing(target, cornerRadius, 0);
}

bool FocusRing::isAttached(const QWidget* widget) {
  return widget != nullptr && widget->property(attachedProperty).toBool();
}

FocusRing::FocusRing(QWidget& target, int cornerRadius, int reach)
    : QFocusFrame(target.parentWidget()), target_(target), cornerRadius_(cornerRadius), outset_(reach) {
  setObjectName(QStringLiteral("focusRing"));
  target.setProperty(attachedProperty, true);
  hide();
  target_.installEventFilter(this);
  connect(&target_, &QObject::destroyed, this, &QObject::deleteLater);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &target_) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) follow();
      break;
    case QEvent::FocusOut:
    case QEvent::Hide:
      hide();
      break;
    case QEvent::Move:
    case QEvent::Resize:
      if (isVisible()) follow();
      break;
    case QEvent::ParentChange:
      setParent(target_.parentWidget());
      hide();
      break;
    default:
      break;
  }
  return false;
}

void FocusRing::follow() {
  if (parentWidget() == nullptr) return;
  setGeometry(target_.geometry().adjusted(-outset_, -outset_, outset_, outset_));
  raise();
  show();
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Palette::brand(), ringWidth));
  painter.setBrush(Qt::NoBrush);
  const qreal inset = ringWidth / 2.0;
  const qreal radius = cornerRadius_ + outset_ - inset;
  painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius, radius);
}
