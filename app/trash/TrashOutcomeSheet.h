// The sheet after a move to the Trash that did not go cleanly: a refused
// plan ("Nothing was moved" and the violation), or what moved and how much it
// freed, then the files not moved because they changed since the scan and the
// files the Trash refused, each with its list. The same sheet tells what an
// undo left in the Trash: each file with the reason it stayed. "Done" (also
// Return) closes it. The undo hint shows only when something moved, since
// only then is there an undo. Window-modal over its parent. Main thread only;
// it changes nothing.
#pragma once

#include <QDialog>

#include "trash/TrashService.h"

class QVBoxLayout;

class TrashOutcomeSheet final : public QDialog {
  Q_OBJECT

 public:
  explicit TrashOutcomeSheet(const TrashService::Outcome& outcome, QWidget* parent = nullptr);
  explicit TrashOutcomeSheet(const TrashService::RestoreOutcome& restore, QWidget* parent = nullptr);

 private:
  QVBoxLayout& makeLayout(const QString& windowTitle);
  void addHeader(QVBoxLayout& layout, const TrashService::Outcome& outcome);
  void addSkipped(QVBoxLayout& layout, const QList<PlanSkip>& skipped);
  void addFailures(QVBoxLayout& layout, const QString& heading, const QList<TrashService::Failure>& failures);
  void addDone(QVBoxLayout& layout);
};
