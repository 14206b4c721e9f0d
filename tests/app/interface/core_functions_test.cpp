#include <gtest/gtest.h>

#include <filesystem>

#include "app_test_support.hpp"
#include "interface/CoreCall.h"
#include "interface/CoreTrashPlanner.h"
#include "interface/QuelmarisCore.h"
#include "temp_tree.hpp"

namespace {

using quelmaris::testing::TempTree;
using Case = UniffiInternalError::Case;

CoreCallStatus statusWith(std::int8_t code, const QByteArray& message) {
  return CoreCallStatus{code, message.isNull() ? CoreBuffer{0, 0, nullptr} : sendBytes(message)};
}

TEST(CallStatus, each_failure_code_raises_its_error_and_frees_the_error_buffer) {
  const std::tuple<const char*, CoreCallStatus, Case, QString> rows[] = {
      {"code 2 with a message", statusWith(2, QByteArray("boom \xFF!")), Case::corePanic,
       QStringLiteral("boom \uFFFD!")},
      {"code 2 with an empty buffer", statusWith(2, QByteArray("")), Case::corePanic,
       QStringLiteral("The scanning core failed without a message")},
      {"code 2 without a buffer", statusWith(2, QByteArray()), Case::corePanic,
       QStringLiteral("The scanning core failed without a message")},
      {"code 1 where no error is declared", statusWith(1, QByteArray("\0\0\0\x01", 4)), Case::unexpectedCoreCallError,
       QStringLiteral("CALL_ERROR but no errorClass specified")},
      {"code 4", statusWith(4, QByteArray()), Case::unexpectedCoreCallStatusCode,
       QStringLiteral("Unexpected CoreCallStatus code")},
  };
  for (auto [what, status, expected, description] : rows) {
    SCOPED_TRACE(what);
    const auto error = apptest::thrownBy<UniffiInternalError>([&] { uniffiCheckCallStatus(status); });
    EXPECT_EQ(std::pair(error.value().which(), error.value().description()), std::pair(expected, description));
  }
}

TEST(CallStatus, cancellation_and_unreadable_results_stop_the_program) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  CoreCallStatus cancelled = statusWith(3, QByteArray());
  EXPECT_DEATH(uniffiCheckCallStatus(cancelled), "Cancellation not supported yet");

  const QByteArray phaseAndOneMore("\0\0\0\x01\0", 5);
  EXPECT_DEATH(callOrStop([&] { return lift<Phase>(sendBytes(phaseAndOneMore)); }),
               "The buffer still has data after lifting its containing value");
}

TEST(CoreFunctions, the_keeper_follows_the_rule) {
  const FileEntry deep{"/a/b/c/x", "x", 0, 3, {}, 0, 1, 1, 1, {}, false, {}};
  const FileEntry shallow{"/x", "x", 1, 3, {}, 0, 1, 2, 1, {}, false, {}};
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

// What the core below answers; null bytes for none.
struct Answer {
  std::int8_t code;
  QByteArray error;
  QByteArray result;
};
Answer answer;

// A core failing as told, taking over its argument buffer as the real export does.
CoreBuffer answering(CoreBuffer sets, std::int8_t, CoreCallStatus* status) {
  CoreCallStatus freed{0, {0, 0, nullptr}};
  quelmaris_ffi_corebuffer_free(sets, &freed);
  status->code = answer.code;
  if (!answer.error.isNull()) status->errorBuf = sendBytes(answer.error);
  return answer.result.isNull() ? CoreBuffer{0, 0, nullptr} : sendBytes(answer.result);
}

TEST(CoreTrashPlanner, every_other_failure_becomes_too_small_for_set_zero) {
  const InvariantViolation tooSmall{InvariantViolation::TooSmall{0}};
  const std::tuple<const char*, Answer, InvariantViolation> rows[] = {
      {"core failure with a message", {2, "the disk went away", {}}, tooSmall},
      {"core failure without a message", {2, {}, {}}, tooSmall},
      {"unknown status code", {9, {}, {}}, tooSmall},
      {"result with bytes left over", {0, {}, QByteArray(9, '\0')}, tooSmall},
      {"violation that cannot be read", {1, QByteArray("\0\0\0\x09", 4), {}}, tooSmall},
      {"readable violation",
       {1, QByteArray("\0\0\0\x03\0\0\0\0\0\0\0\x04\0\0\0\x02", 16), {}},
       InvariantViolation{InvariantViolation::IndexOutOfRange{4, 2}}},
      {"readable too-small violation of set 7",
       {1, QByteArray("\0\0\0\x05\0\0\0\0\0\0\0\x07", 12), {}},
       InvariantViolation{InvariantViolation::TooSmall{7}}},
  };
  for (const auto& [what, given, expected] : rows) {
    answer = given;
    EXPECT_EQ(apptest::thrownBy<InvariantViolation>([] { CoreTrashPlanner(answering).plan({}, true); }), expected)
        << what;
  }
}

}  // namespace
