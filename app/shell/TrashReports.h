// The window's sheets about the Trash that do not wait on the results shown:
// the files an undo left in the Trash, each with why it stayed; and the
// outcome of a move whose results went while its files moved (a results view
// reports its own move only while it lives). Window-modal over the window.
// Main thread only.
#pragma once

#include <QObject>
#include <QPointer>

#include "trash/TrashService.h"

class QDialog;
class QWidget;
class ResultsMove;

class TrashReports final : public QObject {
  Q_OBJECT

 public:
  TrashReports(TrashService& trash, QWidget& window);

  // The move of the results shown now, or null: while it runs, it reports its
  // outcome itself.
  void setResultsMove(ResultsMove* move);

 private:
  void moveFinished(const TrashService::Outcome& outcome);
  void restoreChanged();
  void open(QDialog* sheet);

  TrashService& trash_;
  QWidget& window_;
  QPointer<ResultsMove> resultsMove_;
};
