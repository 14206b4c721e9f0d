#include "trash.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "file_facts.hpp"

namespace quelmaris {
namespace {

using MaybeViolation = std::optional<InvariantViolation>;

bool matches_record(const struct stat& st, const FileEntry& file) {
  return S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) == file.size &&
         modified_ns(st) == file.modified_ns && device_id(st.st_dev) == file.dev &&
         static_cast<std::uint64_t>(st.st_ino) == file.ino;
}

// Marked indices in their order first, then the keeper.
std::optional<std::uint32_t> first_index_out_of_range(const PlanSet& set) {
  const auto n = set.files.size();
  for (const auto index : set.marked) {
    if (index >= n) return index;
  }
  if (set.keeper >= n) return set.keeper;
  return std::nullopt;
}

bool is_keepers_file(const FileEntry& file, const FileEntry& keeper) {
  return (file.dev == keeper.dev && file.ino == keeper.ino) || file.path == keeper.path;
}

// Each check runs over every mark before the next one starts, so a marked
// keeper is reported as such even when a hard link of it is marked earlier.
// Repeated marks change no answer, so the list is scanned as it is.
MaybeViolation check_invariants(const PlanSet& set) {
  const auto id = set.set_id;
  if (set.files.size() < 2) return InvariantViolation{InvariantViolation::TooSmall{id}};
  if (const auto index = first_index_out_of_range(set)) {
    return InvariantViolation{InvariantViolation::IndexOutOfRange{id, *index}};
  }
  if (std::ranges::find(set.marked, set.keeper) != set.marked.end()) {
    return InvariantViolation{InvariantViolation::KeeperMarked{id}};
  }
  const auto& keeper = set.files[set.keeper];
  const auto shares_keeper = [&](std::uint32_t index) { return is_keepers_file(set.files[index], keeper); };
  if (std::ranges::any_of(set.marked, shares_keeper)) {
    return InvariantViolation{InvariantViolation::SameInodeAsKeeper{id}};
  }
  return std::nullopt;
}

void skip_every_mark(const PlanSet& set, PlanSkipReason reason, TrashPlan& plan) {
  for (const auto index : set.marked) plan.skipped.push_back({set.set_id, set.files[index].path, reason});
}

void recheck_marks(const PlanSet& set, const FileEntry& keeper, TrashPlan& plan) {
  for (const auto index : set.marked) {
    const auto& file = set.files[index];
    switch (check_identity(file)) {
      case Identity::Same:
        plan.to_move.push_back({set.set_id, file, keeper.path});
        break;
      case Identity::Missing:
        plan.skipped.push_back({set.set_id, file.path, PlanSkipReason::Missing});
        break;
      case Identity::Changed:
        plan.skipped.push_back({set.set_id, file.path, PlanSkipReason::Changed});
        break;
    }
  }
}

// Without its keeper present and unchanged a set moves nothing, so its marked
// files are then not examined at all.
void recheck_set(const PlanSet& set, bool allow_unverified, TrashPlan& plan) {
  if (!set.verified && !allow_unverified) return skip_every_mark(set, PlanSkipReason::Unverified, plan);
  const auto& keeper = set.files[set.keeper];
  switch (check_identity(keeper)) {
    case Identity::Missing:
      return skip_every_mark(set, PlanSkipReason::KeeperMissing, plan);
    case Identity::Changed:
      return skip_every_mark(set, PlanSkipReason::KeeperChanged, plan);
    case Identity::Same:
      return recheck_marks(set, keeper, plan);
  }
}

// A file kept by one set must not leave as an extra copy of another; sets
// without marks keep their files too.
MaybeViolation check_no_keeper_moves(const std::vector<PlanSet>& sets, const std::vector<PlannedMove>& moves) {
  if (moves.empty()) return std::nullopt;
  std::unordered_set<std::string_view> keeper_paths;
  keeper_paths.reserve(sets.size());
  for (const auto& set : sets) keeper_paths.insert(set.files[set.keeper].path);
  for (const auto& move : moves) {
    if (keeper_paths.contains(move.file.path)) return InvariantViolation{InvariantViolation::KeeperMarked{move.set_id}};
  }
  return std::nullopt;
}

}  // namespace

Identity check_identity(const FileEntry& file) {
  // The system call would stop at a zero byte and look at another path.
  if (file.path.find('\0') != std::string::npos) return Identity::Changed;
  struct stat st {};
  if (::lstat(file.path.c_str(), &st) != 0) return errno == ENOENT ? Identity::Missing : Identity::Changed;
  return matches_record(st, file) ? Identity::Same : Identity::Changed;
}

Result<TrashPlan, InvariantViolation> plan_trash(const std::vector<PlanSet>& sets, bool allow_unverified) {
  for (const auto& set : sets) {
    if (auto violation = check_invariants(set)) return Failure{std::move(*violation)};
  }
  TrashPlan plan;
  for (const auto& set : sets) {
    if (!set.marked.empty()) recheck_set(set, allow_unverified, plan);
  }
  if (auto violation = check_no_keeper_moves(sets, plan.to_move)) return Failure{std::move(*violation)};
  return plan;
}

}  // namespace quelmaris
