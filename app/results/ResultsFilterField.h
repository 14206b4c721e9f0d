// The toolbar's filter field of the results, "Filter by name or path", with
// a clear button. Escape empties it. The keys that delete a word
// (Ctrl+Backspace, Ctrl+Delete) and Escape edit the field even where a window
// shortcut uses them, as "Move to Trash…" does Ctrl+Backspace. Main thread
// only.
#pragma once

#include <QLineEdit>

class ResultsFilterField final : public QLineEdit {
  Q_OBJECT

 public:
  explicit ResultsFilterField(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool clears(const QKeyEvent& key) const;
};
