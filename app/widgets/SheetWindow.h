// The window of a sheet: a dialog modal to the window it belongs to, with a
// title and a close button but nothing to minimise or maximise, as a sheet
// attached to its window would offer. When it ends, its window takes the
// keyboard back (KeyboardReturn). Main thread only.
#pragma once

class QDialog;
class QString;

void makeSheetWindow(QDialog& dialog, const QString& title);
