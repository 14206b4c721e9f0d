// The order in which Tab and Shift+Tab visit a compound widget's controls.
// Qt's chain follows the order in which widgets joined their window, so that
// controls made later (a banner that appears) come last, and a widget that
// hands its focus to a child (its focus proxy) sends Tab past every control
// that lies between it and that child. Main thread only.
#pragma once

#include <QList>

class QWidget;

namespace TabStops {

// Makes the stops, in this order, the first that Tab visits in the
// container, before the child the container hands its focus to; both
// directions then visit the same stops. The container must be in its window
// and have that child as its focus proxy. Run again whenever a stop is made
// anew.
void placeFirst(QWidget& container, const QList<QWidget*>& stops);

// The widget's controls that can take the focus, in the order they were
// added to it.
QList<QWidget*> within(const QWidget& widget);

// The first control after `from` in the chain, inside the container, that
// Tab would stop at now (enabled and shown); null when none follows there.
QWidget* nextWithin(const QWidget& container, const QWidget& from);

}  // namespace TabStops
