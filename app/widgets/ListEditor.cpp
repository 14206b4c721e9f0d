#include "widgets/ListEditor.h"

#include <QKeyEvent>
#include <QMimeData>

ListEditor::ListEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  // The style makes room for the focus frame inside the outline (FocusStyle),
  // which it could not tell while the base class measured it; the field's
  // ground shows beneath the frame.
  setFrameStyle(frameStyle());
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void ListEditor::keyPressEvent(QKeyEvent* event) {
  if (event->text().contains(u'\t')) {
    event->ignore();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ListEditor::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText() || !source->text().contains(u'\t')) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  QMimeData lines;
  lines.setText(source->text().replace(u'\t', u'\n'));
  QPlainTextEdit::insertFromMimeData(&lines);
}
