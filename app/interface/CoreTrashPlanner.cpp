#include "interface/CoreTrashPlanner.h"

TrashPlan CoreTrashPlanner::plan(const QList<PlanSet>& sets, bool allowUnverified) const {
  try {
    return planTrash(sets, allowUnverified, planTrashExport_);
  } catch (const InvariantViolation&) {
    throw;
  } catch (...) {
    throw InvariantViolation{InvariantViolation::TooSmall{0}};
  }
}
