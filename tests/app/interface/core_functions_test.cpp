#include <gtest/gtest.h>

#include <filesystem>

#include "interface/CoreTrashPlanner.h"
#include "interface/QuelmarisCore.h"
#include "app_test_support.hpp"
#include "interface/CoreCall.h"
#include "temp_tree.hpp"

namespace {

using quelmaris::testing::TempTree;

TEST(CoreFunctions, identity_compares_the_entry_with_the_disk) {
  TempTree tree;
  const FileEntry same = apptest::entryFor(tree.write("same", "abc"));
  const FileEntry gone = apptest::entryFor(tree.write("gone", "abc"));
  std::filesystem::remove(gone.path.toStdString());
  const std::string grownPath = tree.write("grown", "abc");
  const FileEntry grown = apptest::entryFor(grownPath);
  tree.write("grown", "abcd");

  EXPECT_EQ(checkIdentity(same), Identity::same);
  EXPECT_EQ(checkIdentity(gone), Identity::missing);
  EXPECT_EQ(checkIdentity(grown), Identity::changed);
}

TEST(CoreFunctions, the_keeper_follows_the_rule_and_an_empty_list_gives_zero) {
  TempTree tree;
  const FileEntry deep = apptest::entryFor(tree.write("a/b/c/x", "1"), 0);
  const FileEntry shallow = apptest::entryFor(tree.write("x", "1"), 1);
  EXPECT_EQ(chooseKeeper({}, KeepRule::oldest), 0u);
  EXPECT_EQ(chooseKeeper({deep, shallow}, KeepRule::folderPriority), 0u);
  EXPECT_EQ(chooseKeeper({deep, shallow}, KeepRule::shortestPath), 1u);
}

TEST(CoreFunctions, a_planned_file_comes_back_unchanged_and_skips_carry_their_reason) {
  TempTree tree;
  const FileEntry keeper = apptest::entryFor(tree.write("k/cafe\xCC\x81.txt", "same"));
  FileEntry marked = apptest::entryFor(tree.write("m/cafe\xCC\x81.txt", "same"), 1);
  marked.createdNs = -1;
  marked.cloneId = 42;
  marked.mayShareBlocks = true;
  const FileEntry vanished = apptest::entryFor(tree.write("v/cafe\xCC\x81.txt", "same"));
  std::filesystem::remove(vanished.path.toStdString());

  const TrashPlan plan = planTrash(
      {PlanSet{3, {keeper, marked, vanished}, 0, {1, 2}, true}, PlanSet{4, {keeper, marked}, 0, {1}, false}}, false);
  ASSERT_EQ(plan.toMove.size(), 1);
  EXPECT_EQ(plan.toMove[0], (PlannedMove{3, marked, keeper.path}));
  EXPECT_EQ(plan.toMove[0].file.path.toUtf8(), marked.path.toUtf8()) << "the path's bytes are kept as they are";
  EXPECT_EQ(plan.skipped, (QList<PlanSkip>{PlanSkip{3, vanished.path, PlanSkipReason::missing},
                                           PlanSkip{4, marked.path, PlanSkipReason::unverified}}));
}

// Cores that fail in the ways the planner must narrow. Each takes over its
// argument buffer, as the real export does.
void consume(CoreBuffer sets) {
  CoreCallStatus status{0, {0, 0, nullptr}};
  quelmaris_ffi_corebuffer_free(sets, &status);
}
CoreBuffer bytesBuffer(const QByteArray& bytes) { return sendBytes(bytes); }

CoreBuffer failsWithMessage(CoreBuffer sets, std::int8_t, CoreCallStatus* status) {
  consume(sets);
  *status = CoreCallStatus{2, bytesBuffer("the disk went away")};
  return {0, 0, nullptr};
}
CoreBuffer failsSilently(CoreBuffer sets, std::int8_t, CoreCallStatus* status) {
  consume(sets);
  status->code = 2;
  return {0, 0, nullptr};
}
CoreBuffer answersWithUnknownCode(CoreBuffer sets, std::int8_t, CoreCallStatus* status) {
  consume(sets);
  status->code = 9;
  return {0, 0, nullptr};
}
CoreBuffer returnsTooManyBytes(CoreBuffer sets, std::int8_t, CoreCallStatus*) {
  consume(sets);
  return bytesBuffer(QByteArray(9, '\0'));
}
CoreBuffer returnsUnreadableViolation(CoreBuffer sets, std::int8_t, CoreCallStatus* status) {
  consume(sets);
  *status = CoreCallStatus{1, bytesBuffer(QByteArray("\0\0\0\x09", 4))};
  return {0, 0, nullptr};
}
CoreBuffer refusesIndex(CoreBuffer sets, std::int8_t, CoreCallStatus* status) {
  consume(sets);
  *status = CoreCallStatus{1, bytesBuffer(QByteArray("\0\0\0\x03\0\0\0\0\0\0\0\x04\0\0\0\x02", 16))};
  return {0, 0, nullptr};
}

TEST(CoreTrashPlanner, every_other_failure_becomes_too_small_for_set_zero) {
  struct Row {
    const char* what;
    PlanTrashExport core;
    InvariantViolation expected;
  };
  const InvariantViolation tooSmall{InvariantViolation::TooSmall{0}};
  const Row rows[] = {
      {"core failure with a message", failsWithMessage, tooSmall},
      {"core failure without a message", failsSilently, tooSmall},
      {"unknown status code", answersWithUnknownCode, tooSmall},
      {"result with bytes left over", returnsTooManyBytes, tooSmall},
      {"violation that cannot be read", returnsUnreadableViolation, tooSmall},
      {"readable violation", refusesIndex, InvariantViolation{InvariantViolation::IndexOutOfRange{4, 2}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    try {
      CoreTrashPlanner(row.core).plan({}, true);
      ADD_FAILURE() << "the plan was accepted";
    } catch (const InvariantViolation& violation) {
      EXPECT_EQ(violation, row.expected);
    }
  }
}

}  // namespace
