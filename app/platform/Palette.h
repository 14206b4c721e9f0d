// The application's colours: the brand tint and the few platform styles the
// views share (secondary and tertiary text, quaternary fills, system red and
// green), each with a light and a dark value chosen from the current palette.
// Main thread only.
#pragma once

#include <QColor>

namespace Palette {

// True when the application palette has a dark window background.
bool isDark();

// The application's tint: windows, available folders, the "Originals" tag,
// recoverable byte amounts and the not-read button.
QColor brand();

QColor primaryText();
QColor secondaryText();
QColor tertiaryText();
// Badge and chip backgrounds.
QColor quaternaryFill();
// Lines between the window's areas.
QColor separator();
// The sidebar column, set a little apart from the detail area.
QColor sidebarBackground();
// The raised card on the window background.
QColor secondaryBackground();

// "State/Keep": the kept copy and the safeguards that hold.
QColor stateKeep();
// "State/Clone": clones, hard links and the warnings before a move.
QColor stateClone();

QColor systemRed();
QColor systemGreen();
QColor systemYellow();

}  // namespace Palette
