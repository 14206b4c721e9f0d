// The last check before a move to the Trash: a marking that could lose the
// last copy of a file is refused whole; otherwise every kept and marked copy
// is compared with the disk and the plan says what may move and what stays.
// Reads file status only; plain functions, any thread.
#pragma once

#include "records.hpp"
#include "result.hpp"

#include <vector>

namespace quelmaris {

Identity check_identity(const FileEntry& file);
Result<TrashPlan, InvariantViolation> plan_trash(const std::vector<PlanSet>& sets, bool allow_unverified);

}  // namespace quelmaris
