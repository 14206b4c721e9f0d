#include <gtest/gtest.h>

#include "defaults.hpp"
#include "ffi_test_support.hpp"
#include "temp_tree.hpp"

namespace quelmaris::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

FileEntry entry(std::string path, std::uint64_t ino) {
  return FileEntry{path, "x", 0, 3, std::nullopt, 0, 1, ino, 1, std::nullopt, false, std::nullopt};
}

CoreBuffer buffer_of(const Bytes& bytes) { return ffi::copy_to_buffer(bytes); }

TEST(Operations, each_plain_export_answers_as_its_core_function) {
  TempTree tree;
  CoreCallStatus status = fresh_status();
  EXPECT_EQ(ffi::lift<ScanConfig>(take_bytes(quelmaris_ffi_default_scan_config(&status))), default_scan_config());
  EXPECT_EQ(take_bytes(quelmaris_ffi_check_identity(ffi::lower(entry(tree.path("gone"), 1)), &status)),
            lowered_bytes(Identity::Missing));
  const std::vector<FileEntry> files = {entry("/b/deep/x", 1), entry("/a/x", 2)};
  EXPECT_EQ(quelmaris_ffi_choose_keeper(ffi::lower(files), ffi::lower(KeepRule::ShortestPath), &status), 1u);
  // An empty list keeps index zero without reading the rule: 9 is a tag no rule has.
  EXPECT_EQ(quelmaris_ffi_choose_keeper(ffi::lower(std::vector<FileEntry>{}), buffer_of({0, 0, 0, 9}), &status), 0u);
  EXPECT_EQ(status.code, 0);
}

TEST(Operations, unreadable_arguments_fail_with_their_parameter_name) {
  const Bytes one_file = lowered_bytes(std::vector<FileEntry>{entry("/a", 1)});
  const std::tuple<Bytes, Bytes, std::string> cases[] = {
      {one_file, {0, 0, 0}, "Failed to convert arg 'rule':\nnot enough bytes remaining in buffer (3 < 4)"},
      {{0, 0, 0, 1}, {0, 0, 0, 1}, "Failed to convert arg 'files':\nnot enough bytes remaining in buffer (0 < 4)"},
      // clang-format off
      {{0, 0, 0, 0, 7}, {0, 0, 0, 1}, "Failed to convert arg 'files':\njunk data left in buffer after lifting (count: 1)"},
      // clang-format on
  };
  for (const auto& [files, rule, expected] : cases) {
    SCOPED_TRACE(expected);
    CoreCallStatus status = fresh_status();
    EXPECT_EQ(quelmaris_ffi_choose_keeper(buffer_of(files), buffer_of(rule), &status), 0u);
    EXPECT_EQ(failure(status), failed(expected));
  }
}

// Refused flag, refused plan (status one, the violation as its error bytes) and
// accepted plan, each through the one export.
TEST(Operations, plan_trash_answers_with_its_flag_refused_its_violation_or_its_plan) {
  TempTree tree;
  CoreCallStatus status = fresh_status();
  EXPECT_EQ(quelmaris_ffi_plan_trash(ffi::lower(std::vector<PlanSet>{}), 2, &status).data, nullptr);
  EXPECT_EQ(failure(status), failed("Failed to convert arg 'allow_unverified':\nunexpected byte for Boolean"));

  const std::vector<PlanSet> marks_keeper = {{7, {entry("/a", 1), entry("/b", 2)}, 0, {0}, true}};
  status = fresh_status();
  EXPECT_EQ(quelmaris_ffi_plan_trash(ffi::lower(marks_keeper), 1, &status).data, nullptr);
  EXPECT_EQ(status.code, 1);
  EXPECT_EQ(take_bytes(status.errorBuf), lowered_bytes(InvariantViolation{InvariantViolation::KeeperMarked{7}}));

  const std::vector<PlanSet> sets = {
      {7, {entry(tree.path("kept"), 1), entry(tree.path("marked"), 2)}, 0, {1}, true},
      {8, {entry(tree.path("c"), 3), entry(tree.path("d"), 4)}, 0, {1}, false},
  };
  status = fresh_status();
  const CoreBuffer result = quelmaris_ffi_plan_trash(ffi::lower(sets), 0, &status);
  EXPECT_EQ(status.code, 0);
  const TrashPlan expected{{},
                           {PlanSkip{7, tree.path("marked"), PlanSkipReason::KeeperMissing},
                            PlanSkip{8, tree.path("d"), PlanSkipReason::Unverified}}};
  EXPECT_EQ(take_bytes(result), lowered_bytes(expected));
}

TEST(Buffers, from_bytes_copies_and_an_empty_copy_still_has_data) {
  const std::uint8_t bytes[] = {1, 2, 3};
  CoreCallStatus status = fresh_status();
  const CoreBuffer copy = quelmaris_ffi_corebuffer_from_bytes(ForeignBytes{3, bytes}, &status);
  EXPECT_EQ(std::pair(status.code, copy.capacity), std::pair(std::int8_t{0}, std::uint64_t{3}));
  EXPECT_EQ(take_bytes(copy), (std::vector<std::uint8_t>{1, 2, 3}));

  const CoreBuffer empty = quelmaris_ffi_corebuffer_from_bytes(ForeignBytes{0, nullptr}, &status);
  EXPECT_EQ(std::tuple(status.code, empty.data != nullptr, empty.capacity, empty.len),
            std::tuple(std::int8_t{0}, true, std::uint64_t{0}, std::uint64_t{0}));
  quelmaris_ffi_corebuffer_free(empty, &status);
  EXPECT_EQ(status.code, 0);
}

TEST(Buffers, alloc_is_zero_filled_reserve_keeps_the_bytes_and_neither_takes_a_size_too_large) {
  CoreCallStatus status = fresh_status();
  CoreBuffer buffer = quelmaris_ffi_corebuffer_alloc(4, &status);
  ASSERT_EQ(status.code, 0);
  EXPECT_EQ(buffer.len, 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.data, buffer.data + 4), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  buffer.data[3] = 9;
  buffer = quelmaris_ffi_corebuffer_reserve(buffer, 1000, &status);
  ASSERT_EQ(status.code, 0);
  EXPECT_GE(buffer.capacity, 1004u);
  EXPECT_EQ(take_bytes(buffer), (std::vector<std::uint8_t>{0, 0, 0, 9}));

  // Sizes beyond the largest serialised value are refused, not attempted.
  EXPECT_EQ(quelmaris_ffi_corebuffer_alloc(UINT64_MAX, &status).data, nullptr);
  EXPECT_EQ(failure(status), failed("CoreBuffer requested size too large"));
  status = fresh_status();
  quelmaris_ffi_corebuffer_reserve(quelmaris_ffi_corebuffer_alloc(1, &status), UINT64_MAX, &status);
  EXPECT_EQ(failure(status), failed("CoreBuffer requested size too large"));
}

TEST(Buffers, malformed_buffers_and_bytes_fail_with_status_two_and_are_not_freed) {
  std::uint8_t data[4] = {};
  CoreCallStatus s[5] = {fresh_status(), fresh_status(), fresh_status(), fresh_status(), fresh_status()};
  quelmaris_ffi_corebuffer_free(CoreBuffer{2, 4, data}, &s[0]);
  quelmaris_ffi_corebuffer_free(CoreBuffer{4, 0, nullptr}, &s[1]);
  quelmaris_ffi_corebuffer_reserve(CoreBuffer{0, 1, data}, 1, &s[2]);
  quelmaris_ffi_corebuffer_from_bytes(ForeignBytes{2, nullptr}, &s[3]);
  quelmaris_ffi_corebuffer_from_bytes(ForeignBytes{-1, data}, &s[4]);
  const char* expected[] = {"CoreBuffer length exceeds capacity", "null CoreBuffer had non-zero capacity",
                            "CoreBuffer length exceeds capacity", "null ForeignBytes had non-zero length",
                            "bytes length negative or overflowed"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(failure(s[i]), failed(expected[i]));
}

}  // namespace
}  // namespace quelmaris::testing
