// The application's colours: the brand tint and the few named styles the
// views share (secondary and tertiary text, quaternary fills, the state
// colours), each with a light and a dark value chosen from the palette it is
// asked for. Main thread only, like every widget that paints with them.
#pragma once

#include <QColor>
#include <QPalette>

namespace Palette {

// True when the palette's window colour is dark.
bool isDark(const QPalette& palette);

// The application's tint ("AccentColor").
QColor brand(const QPalette& palette);
QColor brand();

// Text one, two and three steps quieter than the palette's own text.
QColor secondaryText(const QPalette& palette);
QColor tertiaryText(const QPalette& palette);

// A faint fill behind small labels such as the priority badge.
QColor quaternaryFill(const QPalette& palette);

// The card of the progress display: one level above the window background.
QColor secondaryBackground(const QPalette& palette);

QColor success(const QPalette& palette);
QColor destructive(const QPalette& palette);

}  // namespace Palette
