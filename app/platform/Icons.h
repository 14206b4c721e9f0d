// One icon source for every view: a symbol name of the kind the views speak
// ("folder", "stop.fill", "exclamationmark.triangle" …) becomes the matching
// freedesktop theme icon when the current theme has it, and otherwise a
// symbol drawn here, so that no view shows a missing-icon square on a desktop
// without an icon theme. A tinted symbol is always the drawn one, in the tint.
// Main thread only.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QPainter;
class QRectF;

namespace Icons {

// The icon for a symbol name; an unknown name gives a null icon.
QIcon symbol(const QString& name);
// The drawn symbol in the given colour.
QIcon symbol(const QString& name, const QColor& tint);

// Whether a symbol of this name can be drawn.
bool canDraw(const QString& name);
// Draws the symbol into the largest square that fits the rectangle.
void draw(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color);

}  // namespace Icons
