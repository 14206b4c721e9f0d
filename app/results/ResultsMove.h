// The results' side of a move to the Trash: the marked files and the totals
// that the confirmation shows; the move itself, with the marking copied at
// confirmation, planned and moved by the Trash service under scoped access on
// the scan's roots; the removal of the moved copies from the results; and the
// outcome to report: lastMove for a clean move (the moved banner), problems
// for a refused plan, a skipped or a failed file (the outcome sheet). A
// finished undo of a move marks the results stale and ends the report.
//
// One move at a time: isMoving holds from confirmation until the outcome is
// applied, and a confirmation meanwhile is ignored. The outcome is applied
// only while the results it belongs to are shown: when they go during a move
// (a change of the folder list), isMoving ends, the window shows the outcome
// instead, and the move stays undoable through the undo stack, on which the
// Trash service registers it. Main thread only.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <optional>

#include "scan/ScanStore.h"
#include "trash/TrashService.h"

class QUndoStack;

class ResultsMove final : public QObject {
  Q_OBJECT

 public:
  using Outcome = TrashService::Outcome;

  // undoStack may be null: moves then happen without undo.
  ResultsMove(ScanStore& scan, TrashService& trash, QUndoStack* undoStack, QObject* parent = nullptr);

  // The marked copies in set order, then file order.
  QList<FileEntry> markedFiles() const;
  SelectionModel::Totals totals() const;

  bool isMoving() const { return isMoving_; }
  const std::optional<Outcome>& lastMove() const { return lastMove_; }
  const std::optional<Outcome>& problems() const { return problems_; }

  // Called once the confirmation has closed; the move starts from the event
  // loop, after this returns.
  void confirmMove();
  // Whether the moved banner of lastMove offers Undo. Without a stack always, as its Undo
  // then only ends the report; with one while the stack would undo the
  // reported move's own entry next, so no longer once that undo has begun,
  // by the banner or by Edit › Undo, nor while a later entry stands above it.
  bool offersUndo() const { return offersUndo_; }
  // The moved banner's Undo: undoes the reported move through the stack and
  // ends the report; does nothing while Undo is not offered.
  void undoLastMove();
  // The moved banner's close button.
  void closeLastMove();
  // The outcome sheet has closed.
  void dismissProblems();

 signals:
  void isMovingChanged();
  void lastMoveChanged();
  void offersUndoChanged();
  void problemsChanged();

 private:
  void moveToTrash(const SelectionModel& selection);
  void finishMove(const Outcome& outcome);
  void restoreChanged();
  void setIsMoving(bool moving);
  void setLastMove(const std::optional<Outcome>& outcome);
  void updateOffersUndo();
  void setProblems(const std::optional<Outcome>& outcome);

  ScanStore& scan_;
  TrashService& trash_;
  const QPointer<QUndoStack> undoStack_;
  bool isMoving_ = false;
  std::optional<Outcome> lastMove_;
  bool offersUndo_ = false;
  std::optional<Outcome> problems_;
};
