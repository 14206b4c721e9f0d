#include "widgets/ActivitySpinner.h"

#include <QPainter>

#include "platform/Palette.h"

namespace {

constexpr int stepDegrees = 30;
constexpr int frameMilliseconds = 80;

}  // namespace

ActivitySpinner::ActivitySpinner(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  timer_.setInterval(frameMilliseconds);
  connect(&timer_, &QTimer::timeout, this, [this] {
    angle_ = (angle_ + stepDegrees) % 360;
    update();
  });
}

void ActivitySpinner::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF ring = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  painter.setPen(QPen(Palette::quaternaryFill(), 2.0));
  painter.drawEllipse(ring);
  QPen arc(Palette::secondaryText(), 2.0);
  arc.setCapStyle(Qt::RoundCap);
  painter.setPen(arc);
  painter.drawArc(ring, -angle_ * 16, 100 * 16);
}

void ActivitySpinner::showEvent(QShowEvent*) { timer_.start(); }

void ActivitySpinner::hideEvent(QHideEvent*) { timer_.stop(); }
