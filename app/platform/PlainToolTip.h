// A tool tip that shows data (a path, a name) exactly as it is: Qt renders a
// tool tip as rich text whenever it looks like markup, so the text is escaped
// and its spaces kept. Pure function.
#pragma once

#include <QString>

QString plainToolTip(const QString& text);
