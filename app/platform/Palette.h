// The application's colours: the brand tint and the few platform styles the
// views share (secondary and tertiary text, quaternary fills, system red and
// green), each with a light and a dark value chosen from the current palette.
// Main thread only.
#pragma once

#include <QColor>

class QWidget;

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

// The "State/" family of the results: the "Keep" badge, the hard-link and
// clone badges, the unverified and different-content badges, and the tints
// behind a kept copy's row and a marked copy's row. Badge text stays readable
// on a 14 % fill of its own colour; the two tints stay apart from each other
// and from the selection.
QColor stateKeep();
QColor stateClone();
QColor stateDiffers();
QColor stateKeepRow();
QColor stateMarkedRow();

QColor systemRed();
QColor systemGreen();
QColor systemYellow();

// Draws the widget's text in the colour (a label's, say, in the secondary style).
void setTextColor(QWidget& widget, const QColor& colour);

}  // namespace Palette
