// Carries out a move of marked copies to the Trash: the core re-checks the
// marking, the planned files are moved one at a time, each after the core has
// checked it and its kept copy once more, the result comes back as one
// Outcome, and one undo entry "Move to Trash" puts the moved files back
// without ever replacing what took their place. A file whose kept copy is
// gone once it moved (one file seen through two mounts) goes back at once and
// is listed as failed, with the rest of its set.
// Main thread only. Whatever reaches the disk (the plan, the moves, the moves
// back) runs on a thread of its own that nobody waits for, so that a folder
// on a mount that stopped answering holds up neither the window nor, past a
// few seconds, the end of the program, which stops a move or an undo between
// two files. lastRestore and isMoving notify only on change.
#pragma once

#include <QFuture>
#include <QList>
#include <QObject>
#include <QPromise>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>

#include "interface/CoreTrashPlanner.h"
#include "interface/QuelmarisCore.h"
#include "platform/Mailbox.h"
#include "trash/FileTrashing.h"

class QUndoCommand;
class QUndoStack;

class TrashService final : public QObject {
  Q_OBJECT

 public:
  struct Move {
    QUrl original;
    // Where the Trash put the file; the original URL when the Trash names none.
    QUrl trashed;
    // The file that went to the Trash: an undo puts back only that file.
    ItemIdentity identity{};
    // Equal when both places are; the identity only guards the undo.
    bool operator==(const Move& other) const { return original == other.original && trashed == other.trashed; }
  };

  // A file that did not reach the Trash, or one that an undo did not put back.
  struct Failure {
    QString path;
    QString error;
    bool operator==(const Failure&) const = default;
  };

  struct Outcome {
    QList<Move> moved;
    std::uint64_t freedBytes = 0;
    // Some moved file's freed size was unknown.
    bool freedEstimated = false;
    QList<PlanSkip> skipped;
    QList<Failure> failed;
    // Present only when the planner refused the whole plan.
    std::optional<QString> invariantViolation;

    // Equal for outcomes with the same numbers of moved, skipped and failed
    // files: 31 × moved + 7 × skipped + failed, wrapping.
    std::int64_t id() const;
    bool operator==(const Outcome&) const = default;
  };

  struct RestoreOutcome {
    QList<QUrl> restored;
    QList<Failure> notRestored;
    bool operator==(const RestoreOutcome&) const = default;
  };

  TrashService(std::unique_ptr<const TrashPlanning> planner, std::shared_ptr<const FileTrashing> files,
               QObject* parent = nullptr);

  // Returns at once; plans and moves off the main thread. The future finishes
  // on the main thread, after the undo entry is pushed on undoStack (when
  // given and a file moved). A refused plan touches nothing. roots are kept
  // for the undo only; the caller brackets the move with scoped access on them.
  QFuture<Outcome> moveToTrash(const QList<PlanSet>& sets, bool allowUnverified, QUndoStack* undoStack,
                               const QList<QUrl>& roots);

  // What the undo entry runs: clears lastRestore and returns at once; puts the
  // files back off the main thread, after any undo still putting back its
  // own, then sets lastRestore.
  void undoMove(const QList<Move>& moved, const QList<QUrl>& roots);

  // Whether the entry is the undo that a move pushed for exactly these moved
  // files. An entry leaves its stack once its undo has begun.
  static bool isUndoOf(const QUndoCommand& entry, const QList<Move>& moved);

  // The result of the latest undo; absent before any and while one runs.
  const std::optional<RestoreOutcome>& lastRestore() const { return lastRestore_; }
  void setLastRestore(const std::optional<RestoreOutcome>& value);

  // Files are moving: from the call of moveToTrash until its outcome is known,
  // and from an undo until its lastRestore is set.
  bool isMoving() const { return movesRunning_ > 0; }

 signals:
  void lastRestoreChanged();
  void isMovingChanged();
  // Each move that got past planning, once its undo entry is pushed and
  // isMoving follows, before the future of moveToTrash finishes.
  void moveFinished(const TrashService::Outcome& outcome);

 private:
  struct PendingRestore {
    QList<Move> moved;
    QList<QUrl> roots;
  };

  void restoreNext();
  void setMovesRunning(int count);

  // Shared with the threads that use them, which may outlive the service.
  const std::shared_ptr<const TrashPlanning> planner_;
  const std::shared_ptr<const FileTrashing> files_;
  std::optional<RestoreOutcome> lastRestore_;
  // The futures of the moves under way. Members, so that a move still waiting
  // on the disk when the service ends is cancelled while continuations bound
  // to the service can still run (and see it cancelled).
  std::list<QPromise<Outcome>> outcomes_;
  // The undos not yet done, the first one running.
  QList<PendingRestore> pendingRestores_;
  int movesRunning_ = 0;
  // Last, so that it closes first: a late answer never reaches a service
  // that is ending.
  Mailbox mailbox_{this};
};
