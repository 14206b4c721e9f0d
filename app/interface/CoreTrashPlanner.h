// Planning a move to the Trash: TrashPlanning is the seam the Trash service
// uses, off the main thread, since the plan checks every file on the disk;
// implementations must be thread-safe. CoreTrashPlanner asks the core's
// plan_trash and raises nothing but InvariantViolation, so that every failure
// refuses the whole plan.
#pragma once

#include <QList>

#include "interface/QuelmarisCore.h"

class TrashPlanning {
 public:
  virtual ~TrashPlanning() = default;
  // Raises InvariantViolation and no other error.
  virtual TrashPlan plan(const QList<PlanSet>& sets, bool allowUnverified) const = 0;
};

class CoreTrashPlanner final : public TrashPlanning {
 public:
  // planTrashExport is the core's own unless a test puts another behind it.
  explicit CoreTrashPlanner(PlanTrashExport planTrashExport = quelmaris_ffi_plan_trash)
      : planTrashExport_(planTrashExport) {}

  // A failure other than a violation (the core failing, a result that cannot
  // be read) becomes TooSmall with set id 0.
  TrashPlan plan(const QList<PlanSet>& sets, bool allowUnverified) const override;

 private:
  PlanTrashExport planTrashExport_;
};
