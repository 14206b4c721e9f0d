// Runs in a process of its own: no callback table is ever registered here.
#include <gtest/gtest.h>

#include "ffi_test_support.hpp"

namespace quelmaris::testing {
namespace {

TEST(NoCallbackTable, run_with_an_application_listener_fails_before_scanning) {
  CoreCallStatus status = fresh_status();
  const std::uint64_t job = quelmaris_ffi_scanjob_new(&status);
  quelmaris_ffi_scanjob_run(job, ffi::lower(kNoRoots), 1, &status);
  EXPECT_EQ(failure(status), failed("Foreign pointer not set.  This is likely a uniffi bug."));
}

}  // namespace
}  // namespace quelmaris::testing
