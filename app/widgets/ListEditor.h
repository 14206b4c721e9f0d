// A text field of entries, one per line (names, extensions). Tab and
// Shift+Tab move the focus on and back as in any other field, and no tab
// ever enters the text: a key that would type one is left to the window
// (Ctrl+Tab switches its tabs), and tabs in text pasted or dropped in become
// line breaks, since they part entries copied from a table. It shows the
// keyboard focus as a one-line field does (FocusStyle). Main thread only.
#pragma once

#include <QPlainTextEdit>

class ListEditor final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ListEditor(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
};
