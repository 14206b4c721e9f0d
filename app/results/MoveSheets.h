// The two sheets of a move to the Trash over the results: ask opens the
// confirmation with the move's totals and marked files (not while a move runs
// or a confirmation is open), whose "Move to Trash" confirms the move; an
// outcome with problems opens the outcome sheet, whose closing dismisses it.
// The sheets belong to the window; the confirmation does not outlive the
// results it was opened over. Main thread only.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class ResultsMove;
class TrashConfirmationSheet;

class MoveSheets final : public QObject {
  Q_OBJECT

 public:
  // The sheets are window-modal over window's window.
  MoveSheets(ResultsMove& move, QWidget& window);
  // A confirmation still open is closed: its results are gone.
  ~MoveSheets() override;

  void ask();

 private:
  void showProblems();

  ResultsMove& move_;
  QWidget& window_;
  QPointer<TrashConfirmationSheet> confirming_;
};
