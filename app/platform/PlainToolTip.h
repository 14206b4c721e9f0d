// A tool tip that shows user data (a path, a file name, an error text)
// literally. Qt reads a tool tip as rich text whenever it looks like HTML, so
// a file named "<b>x</b>.txt" would show in bold: the text is escaped and
// marked as rich text, which then shows the escaped characters as typed,
// spaces and line breaks kept. Empty stays empty, so that no tip shows.
#pragma once

#include <QString>

QString plainToolTip(const QString& text);
