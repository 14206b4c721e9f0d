#include <gtest/gtest.h>

#include <cstring>

#include "ffi_test_support.hpp"

namespace quelmaris::testing {
namespace {

TEST(Buffers, from_bytes_copies_and_an_empty_copy_still_has_data) {
  const std::uint8_t bytes[] = {1, 2, 3};
  CoreCallStatus status = fresh_status();
  const CoreBuffer copy = quelmaris_ffi_corebuffer_from_bytes(ForeignBytes{3, bytes}, &status);
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(copy.capacity, 3u);
  EXPECT_EQ(take_bytes(copy), (std::vector<std::uint8_t>{1, 2, 3}));

  const CoreBuffer empty = quelmaris_ffi_corebuffer_from_bytes(ForeignBytes{0, nullptr}, &status);
  EXPECT_EQ(status.code, 0);
  EXPECT_NE(empty.data, nullptr);
  EXPECT_EQ(empty.capacity, 0u);
  EXPECT_EQ(empty.len, 0u);
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
  EXPECT_EQ(status.code, 2);
  EXPECT_EQ(take_message(status), "CoreBuffer requested size too large");
  status = fresh_status();
  quelmaris_ffi_corebuffer_reserve(quelmaris_ffi_corebuffer_alloc(1, &status), UINT64_MAX, &status);
  EXPECT_EQ(status.code, 2);
  EXPECT_EQ(take_message(status), "CoreBuffer requested size too large");
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
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(expected[i]);
    EXPECT_EQ(s[i].code, 2);
    EXPECT_EQ(take_message(s[i]), expected[i]);
  }
}

}  // namespace
}  // namespace quelmaris::testing
