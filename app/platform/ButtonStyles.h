// A prominent push button: its text (and symbol) on a filled rounded
// rectangle of the given colour, lighter on hover, darker when pressed, and a
// quiet fill while disabled; the text is white or near-black, whichever
// reads on the fill. Shared by the toolbar's Scan and Stop, the progress
// card's Stop and the two "Move to Trash" buttons.
#pragma once

#include <QColor>
#include <QString>

class QPushButton;

namespace ButtonStyles {

// Styles the button; a symbol, when named, is drawn in the text's colour.
void makeProminent(QPushButton& button, const QColor& fill, const QString& symbol = QString());

}  // namespace ButtonStyles
