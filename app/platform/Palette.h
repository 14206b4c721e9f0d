// The application's colours: the brand tint and the few platform styles the
// views share (secondary and tertiary text, quaternary fills, system red and
// green), each with a light and a dark value chosen from the current palette.
// Text colours are checked against the palette's surfaces (window, base,
// cards, sidebar) and darkened or lightened until they read at 4.5:1, control
// outlines at 3:1, so that a light or dark desktop keeps them readable.
// Main thread only.
#pragma once

#include <QColor>
#include <QList>

class QWidget;

namespace Palette {

// The least contrast ratio of text and of a control's outline with what lies behind.
constexpr double textContrast = 4.5;
constexpr double outlineContrast = 3.0;

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
// The outline of a control the application draws itself (the mark
// checkbox, an unchosen segment of a picker).
QColor controlOutline();
// The sidebar column, set a little apart from the detail area.
QColor sidebarBackground();
// The raised card on the window background.
QColor secondaryBackground();
// Every surface the application paints on: window, base, cards, sidebar.
QList<QColor> surfaces();

// The "State/" family of the results: the "Keep" badge, the hard-link and
// clone badges, the unverified and different-content badges, and the tints
// behind a kept copy's row and a marked copy's row. As text they read on
// every surface; the two tints stay apart from each other and from the
// selection.
QColor stateKeep();
QColor stateClone();
QColor stateDiffers();
QColor stateKeepRow();
QColor stateMarkedRow();

QColor systemRed();
QColor systemGreen();
QColor systemYellow();

// Text and symbols on a filled control (a prominent button, a chosen
// segment): white where it reads on the fill, otherwise near-black.
QColor textOn(const QColor& fill);

// The WCAG 2 contrast ratio of two opaque colours, from 1 to 21.
double contrastRatio(const QColor& one, const QColor& other);
// The opaque colour seen where a translucent colour lies over an opaque one.
QColor over(const QColor& colour, const QColor& background);
// The colour moved toward black or white (away from the first background)
// just far enough to reach the ratio against every background.
QColor readableOn(const QColor& colour, const QList<QColor>& backgrounds, double ratio = textContrast);

// Draws the widget's text in the colour (a label's, say, in the secondary style).
void setTextColor(QWidget& widget, const QColor& colour);

}  // namespace Palette
