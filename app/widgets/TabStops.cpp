#include "widgets/TabStops.h"

#include <QWidget>

#include "platform/MainThread.h"

namespace TabStops {

namespace {

// The last control before the container's part of the chain that is not
// the container's own; null when the window has none.
QWidget* lastBefore(QWidget& container) {
  for (QWidget* previous = container.previousInFocusChain(); previous != &container;
       previous = previous->previousInFocusChain())
    if (previous->focusPolicy() != Qt::NoFocus && !container.isAncestorOf(previous)) return previous;
  return nullptr;
}

}  // namespace

// Qt leaves a stop where it is when no other control lies between it and
// the place asked for, counting a container that takes no focus as nothing,
// and moves a container with its proxy as one block with its controls: while
// the stops move, the container is a stop of its own without a proxy. Given
// its proxy back, Qt puts it just before its child that holds the proxy,
// which comes after the stops.
void placeFirst(QWidget& container, const QList<QWidget*>& stops) {
  requireMainThread();
  QWidget* proxy = container.focusProxy();
  Q_ASSERT(proxy != nullptr && container.isAncestorOf(proxy));
  QWidget* previous = lastBefore(container);
  if (previous == nullptr) return;
  const Qt::FocusPolicy policy = container.focusPolicy();
  container.setFocusProxy(nullptr);
  container.setFocusPolicy(Qt::TabFocus);
  for (QWidget* stop : stops) {
    QWidget::setTabOrder(previous, stop);
    previous = stop;
  }
  container.setFocusPolicy(policy);
  container.setFocusProxy(proxy);
}

QList<QWidget*> within(const QWidget& widget) {
  QList<QWidget*> stops = widget.findChildren<QWidget*>();
  stops.removeIf([](const QWidget* child) { return child->focusPolicy() == Qt::NoFocus; });
  return stops;
}

QWidget* nextWithin(const QWidget& container, const QWidget& from) {
  for (QWidget* next = from.nextInFocusChain(); container.isAncestorOf(next); next = next->nextInFocusChain())
    if ((next->focusPolicy() & Qt::TabFocus) != 0 && next->isEnabled() && next->isVisibleTo(&container)) return next;
  return nullptr;
}

}  // namespace TabStops
