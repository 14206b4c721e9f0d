#include "shell/TrashReports.h"

#include <QWidget>

#include "platform/MainThread.h"
#include "results/ResultsMove.h"
#include "trash/TrashOutcomeSheet.h"

TrashReports::TrashReports(TrashService& trash, QWidget& window) : QObject(&window), trash_(trash), window_(window) {
  connect(&trash_, &TrashService::moveFinished, this, &TrashReports::moveFinished);
  connect(&trash_, &TrashService::lastRestoreChanged, this, &TrashReports::restoreChanged);
}

void TrashReports::setResultsMove(ResultsMove* move) {
  requireMainThread();
  resultsMove_ = move;
}

void TrashReports::moveFinished(const TrashService::Outcome& outcome) {
  if (resultsMove_ && resultsMove_->isMoving()) return;
  open(new TrashOutcomeSheet(outcome, &window_));
}

void TrashReports::restoreChanged() {
  const auto& restore = trash_.lastRestore();
  if (restore && !restore->notRestored.isEmpty()) open(new TrashOutcomeSheet(*restore, &window_));
}

void TrashReports::open(QDialog* sheet) {
  sheet->setAttribute(Qt::WA_DeleteOnClose);
  sheet->open();
}
