// The building blocks of a form in the grouped style, shared by the options
// popover and the settings window: a section whose rows sit on a raised,
// rounded panel, a section header, and the note under a section in the
// secondary style. Notes and headers are plain text. Main thread only.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QString>

namespace GroupedForm {

// Takes the rows into a new section panel; the check boxes among them draw
// their box as the application's own (CheckBoxStyle), whose outline reads on
// the panel.
QFrame* section(QWidget* rows, QWidget* parent = nullptr);
QLabel* header(const QString& text, QWidget* parent = nullptr);
// A word-wrapped note in the callout size and the secondary colour.
QLabel* note(const QString& text, QWidget* parent = nullptr);

}  // namespace GroupedForm
