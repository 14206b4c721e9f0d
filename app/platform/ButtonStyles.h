// The style sheet of a prominent push button: white text on a filled
// rounded rectangle of the given colour, lighter on hover, darker when
// pressed, and a quiet fill while disabled. Shared by the toolbar's Scan and
// Stop and the results' "Move to Trash…".
#pragma once

#include <QColor>
#include <QString>

namespace ButtonStyles {

QString prominent(const QColor& fill);

}  // namespace ButtonStyles
