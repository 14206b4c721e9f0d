#include "trash/TrashService.h"

#include <fcntl.h>

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QThread>
#include <QUndoCommand>
#include <QUndoStack>
#include <cerrno>
#include <limits>
#include <utility>
#include <variant>

#include "folders/SecurityScope.h"
#include "interface/Fatal.h"
#include "platform/ProcessEnd.h"
#include "unique_fd.hpp"

namespace {

using Move = TrashService::Move;
using Failure = TrashService::Failure;
using Outcome = TrashService::Outcome;
using RestoreOutcome = TrashService::RestoreOutcome;
// A file changed since the plan is skipped, not moved.
using MoveResult = std::variant<Move, Failure, PlanSkip>;

void requireMainThread() {
  const QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr || QThread::currentThread() != application->thread())
    stopProgram(QStringLiteral("The Trash service was used off the main thread"));
}

// The violation as its case and labelled payload: KeeperMarked(setId: 12).
QString violationText(const InvariantViolation& violation) {
  static const QString typeName = QStringLiteral("Quelmaris.InvariantViolation.");
  const QString description = violation.errorDescription();
  return description.startsWith(typeName) ? description.sliced(typeName.size()) : description;
}

// Real freed sizes stay far below the bound; a sum past it stays at the bound.
std::uint64_t saturatingSum(std::uint64_t a, std::uint64_t b) {
  return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

// The kept copy of each planned file's set, in plan order. A set that the
// sets do not name gives an empty entry, which checks as missing.
QList<FileEntry> keptCopies(const QList<PlannedMove>& toMove, const QList<PlanSet>& sets) {
  QHash<std::uint64_t, FileEntry> bySet;
  for (const PlanSet& set : sets)
    if (set.keeper < set.files.size()) bySet.insert(set.setId, set.files[set.keeper]);
  QList<FileEntry> kept;
  kept.reserve(toMove.size());
  for (const PlannedMove& planned : toMove) kept.append(bySet.value(planned.setId));
  return kept;
}

// The plan checked every file before the loop began, but a long move leaves
// time for a file to be replaced or rewritten, or for its kept copy to go:
// both are checked again right before the rename, in the plan's order.
std::optional<PlanSkipReason> changedSincePlan(const FileEntry& file, const FileEntry& keeper) {
  if (const Identity kept = checkIdentity(keeper); kept != Identity::same)
    return kept == Identity::missing ? PlanSkipReason::keeperMissing : PlanSkipReason::keeperChanged;
  if (const Identity marked = checkIdentity(file); marked != Identity::same)
    return marked == Identity::missing ? PlanSkipReason::missing : PlanSkipReason::changed;
  return std::nullopt;
}

MoveResult moveOne(const FileTrashing& files, const PlannedMove& planned, const FileEntry& keeper) {
  const QString& path = planned.file.path;
  if (const auto reason = changedSincePlan(planned.file, keeper)) return PlanSkip{planned.setId, path, *reason};
  const QUrl url = QUrl::fromLocalFile(path);
  auto trashed = files.trashItem(url);
  if (!trashed) return Failure{path, trashed.error().description};
  return Move{url, trashed.value().url.value_or(url), trashed.value().identity};
}

// Why the file stays in the Trash, or nothing once it is back: its Trash item
// is gone, cannot be examined or is another file now, or something else
// stands at its former place, which is never replaced. A former place that
// cannot be examined is left to the move back, which says why it fails.
std::optional<QString> putBack(const FileTrashing& files, const Move& move) {
  const auto inTrash = files.itemExists(move.trashed);
  if (!inTrash)
    return TrashService::tr("The item in the Trash cannot be examined (%1).").arg(inTrash.error().description);
  if (!inTrash.value()) return TrashService::tr("The item is no longer in the Trash.");
  if (const auto inPlace = files.itemExists(move.original); inPlace && inPlace.value())
    return TrashService::tr("Another item is in its place.");
  if (const auto error = files.moveItem(move.trashed, move.original, move.identity)) return error->description;
  return std::nullopt;
}

// Whether the kept copy is still the file the plan saw. Opened as well, not
// only looked up: a view through another mount may answer a lookup from its
// cache, while opening asks the file system behind it (without waiting, should
// a pipe have taken the name). A copy that may not be opened is looked up only.
bool keeperStillThere(const FileEntry& keeper) {
  if (checkIdentity(keeper) != Identity::same) return false;
  const quelmaris::UniqueFd opened(
      ::open(QFile::encodeName(keeper.path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  return opened.get() >= 0 || errno == EACCES || errno == EPERM;
}

// The file took its kept copy along to the Trash: it goes back at once and
// counts as not moved.
Failure tookKeeperAlong(const FileTrashing& files, const Move& move) {
  const QString path = move.original.toLocalFile();
  if (const auto reason = putBack(files, move))
    return {path, TrashService::tr("This copy and the one kept are the same file, reached through another mount. "
                                   "It could not be put back (%1) and stays in the Trash as %2.")
                      .arg(*reason, move.trashed.toLocalFile())};
  return {path, TrashService::tr("This copy and the one kept are the same file, reached through another mount. "
                                 "It was put back.")};
}

// One planned file in its turn. Two paths that the plan could not tell apart
// may be one file seen through two mounts (a folder listed beside a bindfs,
// sshfs or NFS view of itself), which only the move itself shows: once its
// kept copy went along with one of its files, a set moves nothing more.
MoveResult moveInTurn(const FileTrashing& files, const PlannedMove& planned, const FileEntry& keeper,
                      QSet<std::uint64_t>& keeperWentAlong) {
  if (keeperWentAlong.contains(planned.setId))
    return Failure{planned.file.path, TrashService::tr("Not moved: another copy in its group and the one kept are the "
                                                       "same file, reached through another mount.")};
  MoveResult result = moveOne(files, planned, keeper);
  const auto* moved = std::get_if<Move>(&result);
  if (moved == nullptr || keeperStillThere(keeper)) return result;
  keeperWentAlong.insert(planned.setId);
  return tookKeeperAlong(files, *moved);
}

// What the thread of one move brings back: the planner's refusal, or the plan
// and one result per planned move.
struct MoveRun {
  std::optional<QString> refusal;
  TrashPlan plan;
  QList<MoveResult> results;
};

// The plan, then the planned files strictly in order, one at a time, with no
// retry and no stop after a failure. Off the main thread: the planner
// re-checks every file against the disk, and so does each move. The end of
// the program stops it between two files: each file in the Trash keeps its
// record, and each record its file.
MoveRun planAndMove(const TrashPlanning& planner, const FileTrashing& files, const QList<PlanSet>& sets,
                    bool allowUnverified) {
  MoveRun run;
  try {
    run.plan = planner.plan(sets, allowUnverified);
  } catch (const InvariantViolation& violation) {
    run.refusal = violationText(violation);
    return run;
  }
  const QList<FileEntry> keepers = keptCopies(run.plan.toMove, sets);
  QSet<std::uint64_t> keeperWentAlong;
  run.results.reserve(run.plan.toMove.size());
  for (qsizetype i = 0; i < run.plan.toMove.size() && !ProcessEnd::announced(); ++i)
    run.results.append(moveInTurn(files, run.plan.toMove[i], keepers[i], keeperWentAlong));
  return run;
}

Outcome tally(const TrashPlan& plan, const QList<MoveResult>& results) {
  Outcome outcome;
  outcome.skipped = plan.skipped;
  for (qsizetype i = 0; i < results.size(); ++i) {
    if (const auto* failure = std::get_if<Failure>(&results[i])) {
      outcome.failed.append(*failure);
      continue;
    }
    if (const auto* skip = std::get_if<PlanSkip>(&results[i])) {
      outcome.skipped.append(*skip);
      continue;
    }
    outcome.moved.append(std::get<Move>(results[i]));
    if (const auto freed = plan.toMove[i].file.freedBytes)
      outcome.freedBytes = saturatingSum(outcome.freedBytes, *freed);
    else
      outcome.freedEstimated = true;
  }
  return outcome;
}

// Stopped between two files by the end of the program, as the moves are.
RestoreOutcome restore(const FileTrashing& files, const QList<Move>& moved) {
  RestoreOutcome outcome;
  for (const Move& move : moved) {
    if (ProcessEnd::announced()) break;
    if (const auto reason = putBack(files, move))
      outcome.notRestored.append({move.original.toLocalFile(), *reason});
    else
      outcome.restored.append(move.original);
  }
  return outcome;
}

// The undo entry of one move. The files are in the Trash when it is pushed,
// so redo does nothing; an undone move cannot be redone, so undo marks the
// entry obsolete and the stack drops it.
class MoveToTrashCommand final : public QUndoCommand {
 public:
  MoveToTrashCommand(TrashService* service, QList<Move> moved, QList<QUrl> roots)
      : QUndoCommand(TrashService::tr("Move to Trash")),
        service_(service),
        moved_(std::move(moved)),
        roots_(std::move(roots)) {}

  void redo() override {}
  void undo() override {
    if (service_) service_->undoMove(moved_, roots_);
    setObsolete(true);
  }
  const QList<Move>& moved() const { return moved_; }

 private:
  QPointer<TrashService> service_;
  QList<Move> moved_;
  QList<QUrl> roots_;
};

}  // namespace

std::int64_t TrashService::Outcome::id() const {
  const auto count = [](qsizetype n) { return static_cast<std::uint64_t>(n); };
  return static_cast<std::int64_t>(31 * count(moved.size()) + 7 * count(skipped.size()) + count(failed.size()));
}

TrashService::TrashService(std::unique_ptr<const TrashPlanning> planner, std::shared_ptr<const FileTrashing> files,
                           QObject* parent)
    : QObject(parent), planner_(std::move(planner)), files_(std::move(files)) {}

QFuture<TrashService::Outcome> TrashService::moveToTrash(const QList<PlanSet>& sets, bool allowUnverified,
                                                         QUndoStack* undoStack, const QList<QUrl>& roots) {
  requireMainThread();
  const auto pending = outcomes_.emplace(outcomes_.end());
  pending->start();
  QFuture<Outcome> future = pending->future();
  setMovesRunning(movesRunning_ + 1);
  // The plan and the moves reach into the user's folders, where a mount that
  // stopped answering can hold a thread for good: they run on a thread of
  // their own that the window never waits for, and the end of the program
  // only for a few seconds.
  runDetached([this, mailbox = mailbox_.address(), planner = planner_, files = files_, sets, allowUnverified, pending,
               stack = QPointer<QUndoStack>(undoStack), roots] {
    const MoveRun run = planAndMove(*planner, *files, sets, allowUnverified);
    mailbox.post([this, run, pending, stack, roots] {
      Outcome outcome;
      if (run.refusal) {
        outcome.invariantViolation = run.refusal;
        setMovesRunning(movesRunning_ - 1);
      } else {
        outcome = tally(run.plan, run.results);
        if (!outcome.moved.isEmpty() && stack) stack->push(new MoveToTrashCommand(this, outcome.moved, roots));
        setMovesRunning(movesRunning_ - 1);
        emit moveFinished(outcome);
      }
      pending->addResult(outcome);
      pending->finish();
      outcomes_.erase(pending);
    });
  });
  return future;
}

bool TrashService::isUndoOf(const QUndoCommand& entry, const QList<Move>& moved) {
  const auto* move = dynamic_cast<const MoveToTrashCommand*>(&entry);
  return move != nullptr && move->moved() == moved;
}

void TrashService::undoMove(const QList<Move>& moved, const QList<QUrl>& roots) {
  requireMainThread();
  setLastRestore(std::nullopt);
  setMovesRunning(movesRunning_ + 1);
  pendingRestores_.append({moved, roots});
  if (pendingRestores_.size() == 1) restoreNext();
}

// Undos put their files back one after the other, in the order they were
// asked for, each under scoped access on its roots.
void TrashService::restoreNext() {
  const PendingRestore& next = pendingRestores_.constFirst();
  const QList<QUrl> accessed = SecurityScope::startAccessing(next.roots);
  runDetached([this, mailbox = mailbox_.address(), files = files_, moved = next.moved, accessed] {
    const RestoreOutcome outcome = restore(*files, moved);
    mailbox.post([this, outcome, accessed] {
      SecurityScope::stopAccessing(accessed);
      pendingRestores_.removeFirst();
      setMovesRunning(movesRunning_ - 1);
      setLastRestore(outcome);
      if (!pendingRestores_.isEmpty()) restoreNext();
    });
  });
}

void TrashService::setLastRestore(const std::optional<RestoreOutcome>& value) {
  requireMainThread();
  if (lastRestore_ == value) return;
  lastRestore_ = value;
  emit lastRestoreChanged();
}

void TrashService::setMovesRunning(int count) {
  const bool wasMoving = isMoving();
  movesRunning_ = count;
  if (isMoving() != wasMoving) emit isMovingChanged();
}
