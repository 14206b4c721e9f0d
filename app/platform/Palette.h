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

QColor systemRed();
QColor systemGreen();
QColor systemYellow();

// "State/Keep": the copy a set keeps.
QColor stateKeep();
// "State/Differs": files that only look alike, and sets not proven identical.
QColor stateDiffers();

}  // namespace Palette
