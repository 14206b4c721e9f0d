#include "results/MoveSheets.h"

#include <QWidget>

#include "platform/MainThread.h"
#include "results/ResultsMove.h"
#include "trash/TrashConfirmationSheet.h"
#include "trash/TrashOutcomeSheet.h"

MoveSheets::MoveSheets(ResultsMove& move, QWidget& window) : QObject(&window), move_(move), window_(window) {
  connect(&move_, &ResultsMove::problemsChanged, this, &MoveSheets::showProblems);
}

MoveSheets::~MoveSheets() {
  if (confirming_) confirming_->close();
}

void MoveSheets::ask() {
  requireMainThread();
  if (move_.isMoving() || confirming_) return;
  confirming_ = new TrashConfirmationSheet(move_.totals(), move_.markedFiles(), window_.window());
  confirming_->setAttribute(Qt::WA_DeleteOnClose);
  connect(confirming_, &TrashConfirmationSheet::confirmed, &move_, &ResultsMove::confirmMove);
  confirming_->open();
}

void MoveSheets::showProblems() {
  const auto& outcome = move_.problems();
  if (!outcome) return;
  auto* sheet = new TrashOutcomeSheet(*outcome, window_.window());
  sheet->setAttribute(Qt::WA_DeleteOnClose);
  connect(sheet, &QDialog::finished, &move_, &ResultsMove::dismissProblems);
  sheet->open();
}
