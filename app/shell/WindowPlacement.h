// Where a window restored from a stored geometry may stand: the screens may
// have changed since it was stored, so it goes on the screen it overlaps most
// (the primary one when it overlaps none), no larger than that screen's
// available area and with its frame, title bar included, wholly inside it.
// Main thread only.
#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

namespace WindowPlacement {

// The window's own area fitted as above, given the decoration around it and
// the screens' available areas, the primary one first.
QRect fitted(const QRect& geometry, const QMargins& frame, const QList<QRect>& areas);

// Moves and shrinks a window that is neither maximised nor full screen so
// that it fits the screens there are. Until the platform knows the window's
// decoration, a title bar of the style's height is assumed: call again once
// the window is shown.
void fitOnScreen(QWidget& window);

}  // namespace WindowPlacement
