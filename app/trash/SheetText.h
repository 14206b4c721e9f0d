// The lines of the Trash sheets: the title (title 3, semibold) and the
// wrapped lines below it. Both show their text as it stands, never as markup,
// since violation texts, paths and errors come from data. Main thread only.
#pragma once

#include <QColor>
#include <QString>

class QLabel;

namespace SheetText {

QLabel* title(const QString& text);
// objectName names the line for tests and accessibility tools.
QLabel* line(const QString& text, const QColor& colour, const QString& objectName);

}  // namespace SheetText
