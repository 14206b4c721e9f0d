// A tool tip that shows user data (a path, a file name, an error text)
// literally. Qt reads a tool tip as rich text whenever it looks like HTML, so
// a file named "<b>x</b>.txt" would show in bold: the text is escaped and
// marked as rich text, which then shows the escaped characters as typed,
// spaces and line breaks kept. A line is broken only where it would pass the
// screen's width, so that a path shows on one line. Empty stays empty, so
// that no tip shows. Main thread only.
#pragma once

#include <QString>

class QWidget;

QString plainToolTip(const QString& text);

// The widget's tool tip as above. Assistive technology reads a widget's tool
// tip as its description, which is plain text: the widget's description
// becomes the text itself.
void setPlainToolTip(QWidget& widget, const QString& text);
