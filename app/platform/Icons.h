// Icons named by the symbol names the views use ("folder", "plus",
// "stop.fill" …). An untinted symbol comes from the freedesktop icon theme
// when the theme has it; every symbol also has a drawing of its own, used
// for tinted icons and wherever no theme is installed, so that no view ever
// shows a missing-icon square. Main thread only.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace Icons {

// The theme's icon for the symbol, else the drawing in the palette's text colour.
QIcon symbol(const QString& name);

// The drawing of the symbol in the given colour, at any size.
QIcon symbol(const QString& name, const QColor& tint);

}  // namespace Icons
