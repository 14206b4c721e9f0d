#include "shell/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace WindowPlacement {

namespace {

qint64 overlap(const QRect& a, const QRect& b) {
  const QRect common = a.intersected(b);
  return common.isEmpty() ? 0 : qint64{common.width()} * common.height();
}

// The area the frame overlaps most; the first when it overlaps none.
QRect areaFor(const QRect& frame, const QList<QRect>& areas) {
  return *std::max_element(areas.cbegin(), areas.cend(),
                           [&](const QRect& a, const QRect& b) { return overlap(frame, a) < overlap(frame, b); });
}

// The start of a span of the given length that lies within [first, last],
// or starts at first when it is longer.
int clampedStart(int start, int length, int first, int last) {
  return std::max(first, std::min(start, last - length + 1));
}

// The decoration the platform reports, once it knows it; until then a title bar.
QMargins frameOf(const QWidget& window) {
  const QWindow* handle = window.windowHandle();
  const QMargins known = handle != nullptr ? handle->frameMargins() : QMargins();
  if (!known.isNull()) return known;
  return {0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window), 0, 0};
}

}  // namespace

QRect fitted(const QRect& geometry, const QMargins& frame, const QList<QRect>& areas) {
  if (areas.isEmpty()) return geometry;
  const QRect area = areaFor(geometry.marginsAdded(frame), areas);
  const QSize room = area.size().shrunkBy(frame);
  const QSize size = geometry.size().boundedTo(room.expandedTo(QSize(1, 1)));
  const QSize outer = size.grownBy(frame);
  const int left = clampedStart(geometry.left() - frame.left(), outer.width(), area.left(), area.right());
  const int top = clampedStart(geometry.top() - frame.top(), outer.height(), area.top(), area.bottom());
  return {QPoint(left + frame.left(), top + frame.top()), size};
}

void fitOnScreen(QWidget& window) {
  if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  QList<QRect> areas;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) areas.append(primary->availableGeometry());
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen != QGuiApplication::primaryScreen()) areas.append(screen->availableGeometry());
  const QRect placed = fitted(window.geometry(), frameOf(window), areas);
  if (placed != window.geometry()) window.setGeometry(placed);
}

}  // namespace WindowPlacement
