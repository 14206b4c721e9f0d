#include "results/ResultsFilterField.h"

#include <QKeyEvent>
#include <QToolButton>

namespace {

bool deletesWord(const QKeyEvent& key) {
  return key.matches(QKeySequence::DeleteStartOfWord) || key.matches(QKeySequence::DeleteEndOfWord);
}

}  // namespace

ResultsFilterField::ResultsFilterField(QWidget* parent) : QLineEdit(parent) {
  setObjectName(QStringLiteral("resultsFilterField"));
  setPlaceholderText(tr("Filter by name or path"));
  setAccessibleName(tr("Filter by name or path"));
  setClearButtonEnabled(true);
  // The style's clear button comes unnamed.
  for (QToolButton* button : findChildren<QToolButton*>()) button->setAccessibleName(tr("Clear"));
  setFixedWidth(240);
}

bool ResultsFilterField::clears(const QKeyEvent& key) const {
  return key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier && !text().isEmpty();
}

// A window shortcut takes its keys before the focused field sees them,
// unless the field claims them first.
bool ResultsFilterField::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (deletesWord(key) || clears(key)) {
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void ResultsFilterField::keyPressEvent(QKeyEvent* event) {
  if (clears(*event)) {
    clear();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}
