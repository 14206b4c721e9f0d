#include "results/ResultsMove.h"

#include <QSet>
#include <QUndoStack>

#include "folders/SecurityScope.h"
#include "platform/MainThread.h"

namespace {

bool isClean(const TrashService::Outcome& outcome) {
  return !outcome.invariantViolation && outcome.skipped.isEmpty() && outcome.failed.isEmpty();
}

}  // namespace

ResultsMove::ResultsMove(ScanStore& scan, TrashService& trash, QUndoStack* undoStack, QObject* parent)
    : QObject(parent), scan_(scan), trash_(trash), undoStack_(undoStack) {
  connect(&trash_, &TrashService::lastRestoreChanged, this, &ResultsMove::restoreChanged);
  // The stack changes by Edit › Undo too.
  if (undoStack_) connect(undoStack_, &QUndoStack::indexChanged, this, &ResultsMove::updateOffersUndo);
  // The results went (this object may outlive them briefly): their move, if
  // one runs, is the window's to report.
  connect(&scan_, &ScanStore::stateChanged, this, [this] {
    if (!scan_.state().is<ScanStore::State::finished>()) setIsMoving(false);
  });
}

QList<FileEntry> ResultsMove::markedFiles() const {
  QList<FileEntry> files;
  const SelectionModel::MarkedCopies& marked = scan_.selection().marked();
  for (const DuplicateSet& set : scan_.sets()) {
    const auto found = marked.constFind(set.id);
    if (found == marked.constEnd()) continue;
    for (const std::int64_t index : *found)
      if (index >= 0 && index < set.files.size()) files.append(set.files[index]);
  }
  return files;
}

SelectionModel::Totals ResultsMove::totals() const { return scan_.selection().totals(scan_.sets()); }

void ResultsMove::confirmMove() {
  requireMainThread();
  if (isMoving_) return;
  setIsMoving(true);
  setLastMove(std::nullopt);
  QMetaObject::invokeMethod(
      this, [this, selection = scan_.selection()] { moveToTrash(selection); }, Qt::QueuedConnection);
}

void ResultsMove::moveToTrash(const SelectionModel& selection) {
  const QList<PlanSet> sets = selection.planSets(scan_.sets());
  const QList<QUrl> roots = scan_.roots();
  const QList<QUrl> accessed = SecurityScope::startAccessing(roots);
  QFuture<Outcome> moving = trash_.moveToTrash(sets, selection.allowsUnverified(), undoStack_, roots);
  // Bound to the service, which outlives every results view; this object
  // may be gone by the time the files have moved.
  moving.then(&trash_, [self = QPointer(this), accessed](const Outcome& outcome) {
    SecurityScope::stopAccessing(accessed);
    if (self && self->isMoving_) self->finishMove(outcome);
  });
}

void ResultsMove::finishMove(const Outcome& outcome) {
  QSet<QString> moved;
  for (const TrashService::Move& move : outcome.moved) moved.insert(move.original.toLocalFile());
  scan_.removeTrashed(moved);
  setIsMoving(false);
  if (isClean(outcome))
    setLastMove(outcome);
  else
    setProblems(outcome);
}

void ResultsMove::undoLastMove() {
  requireMainThread();
  // A press queued before the move's undo began from the Edit menu undoes
  // nothing else: the stack's next entry is an older move's then.
  if (!offersUndo_) return;
  if (undoStack_) undoStack_->undo();
  setLastMove(std::nullopt);
}

void ResultsMove::closeLastMove() {
  requireMainThread();
  setLastMove(std::nullopt);
}

void ResultsMove::dismissProblems() {
  requireMainThread();
  setProblems(std::nullopt);
}

void ResultsMove::restoreChanged() {
  if (!trash_.lastRestore()) return;
  scan_.setIsStale(true);
  setLastMove(std::nullopt);
}

void ResultsMove::setIsMoving(bool moving) {
  if (isMoving_ == moving) return;
  isMoving_ = moving;
  emit isMovingChanged();
}

void ResultsMove::setLastMove(const std::optional<Outcome>& outcome) {
  if (lastMove_ == outcome) return;
  lastMove_ = outcome;
  // Known before the banner for the new outcome reads it.
  updateOffersUndo();
  emit lastMoveChanged();
}

void ResultsMove::updateOffersUndo() {
  const auto ownEntryNext = [this] {
    const int next = undoStack_->index() - 1;
    return next >= 0 && TrashService::isUndoOf(*undoStack_->command(next), lastMove_->moved);
  };
  const bool offers = lastMove_ && (!undoStack_ || ownEntryNext());
  if (offersUndo_ == offers) return;
  offersUndo_ = offers;
  emit offersUndoChanged();
}

void ResultsMove::setProblems(const std::optional<Outcome>& outcome) {
  if (problems_ == outcome) return;
  problems_ = outcome;
  emit problemsChanged();
}
