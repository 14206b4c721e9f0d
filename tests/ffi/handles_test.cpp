#include "handles.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "counted.hpp"
#include "ffi_test_support.hpp"
#include "recording_listener.hpp"

namespace quelmaris::testing {
namespace {

CoreBuffer config_with_bad_flag() {
  auto bytes = lowered_bytes(kNoRoots);
  bytes[4 + 4] = 2;  // ignore_case, after the empty roots and the mode
  return ffi::copy_to_buffer(bytes);
}

class Handles : public ::testing::Test {
 protected:
  void SetUp() override { quelmaris_ffi_init_callback_vtable_scanlistener(&Callbacks::table()); }

  std::uint64_t new_job() {
    CoreCallStatus status = fresh_status();
    const std::uint64_t job = quelmaris_ffi_scanjob_new(&status);
    EXPECT_EQ(status.code, 0);
    return job;
  }
  std::uint64_t clone(std::uint64_t handle) {
    CoreCallStatus status = fresh_status();
    EXPECT_EQ(quelmaris_ffi_object_clone(handle, &status), handle);
    EXPECT_EQ(status.code, 0);
    return handle;
  }
  void free_job(std::uint64_t job) {
    CoreCallStatus status = fresh_status();
    quelmaris_ffi_scanjob_free(job, &status);
    EXPECT_EQ(status.code, 0);
  }
  // Runs with a clone of the job, as the application does; returns the status.
  CoreCallStatus run(std::uint64_t job, CoreBuffer config, std::uint64_t listener) {
    CoreCallStatus status = fresh_status();
    quelmaris_ffi_scanjob_run(clone(job), config, listener, &status);
    return status;
  }
};

TEST_F(Handles, job_handle_is_an_even_address_counting_its_references_and_sees_a_cancel_before_run) {
  const std::uint64_t job = new_job();
  EXPECT_EQ(std::tuple(job != 0, job % 2, ffi::strong_count(job)), std::tuple(true, 0u, 1u));
  clone(job);
  EXPECT_EQ(ffi::strong_count(job), 2u);
  free_job(job);

  CoreCallStatus status = fresh_status();
  EXPECT_EQ(quelmaris_ffi_scanjob_is_cancelled(clone(job), &status), 0);
  std::thread other([&] {
    CoreCallStatus s = fresh_status();
    quelmaris_ffi_scanjob_cancel(clone(job), &s);
  });
  quelmaris_ffi_scanjob_cancel(clone(job), &status);
  other.join();
  EXPECT_EQ(quelmaris_ffi_scanjob_is_cancelled(clone(job), &status), 1);
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(ffi::strong_count(job), 1u) << "each call consumes its clone";
  free_job(job);
}

TEST_F(Handles, a_run_that_cannot_start_fails_and_still_releases_job_and_listener) {
  const std::uint64_t job = new_job();
  const std::tuple<std::uint64_t, CoreBuffer, std::string> cases[] = {
      {clone(job), config_with_bad_flag(), "Failed to convert arg 'config':\nunexpected byte for Boolean"},
      {0, ffi::lower(kNoRoots), "invalid handle 0"},
  };
  for (const auto& [handle, config, expected] : cases) {
    SCOPED_TRACE(expected);
    const std::uint64_t listener = Callbacks::instance().new_listener();
    CoreCallStatus status = fresh_status();
    quelmaris_ffi_scanjob_run(handle, config, listener, &status);
    EXPECT_EQ(failure(status), failed(expected));
    EXPECT_TRUE(Callbacks::instance().events(listener).empty());
    EXPECT_EQ(Callbacks::instance().frees(listener), 1);
  }
  EXPECT_EQ(ffi::strong_count(job), 1u);
  free_job(job);
}

TEST_F(Handles, failing_callback_ends_the_run_with_the_escaped_failure_text) {
  const std::tuple<std::int8_t, std::string, std::string> cases[] = {
      {2, "bad \"x\"\n\\", R"(Callback interface failure: UnexpectedUniFFICallbackError(reason: "bad \"x\"\n\\"))"},
      {1, "", "Callback interface method returned unexpected error"},
  };
  for (const auto& [reply, text, expected] : cases) {
    SCOPED_TRACE(expected);
    const std::uint64_t job = new_job();
    const std::uint64_t listener = Callbacks::instance().new_listener(reply, text);
    CoreCallStatus status = run(job, ffi::lower(kNoRoots), listener);
    EXPECT_EQ(failure(status), failed(expected));
    EXPECT_EQ(Callbacks::instance().events(listener).size(), 1u);
    EXPECT_EQ(Callbacks::instance().frees(listener), 1);
    free_job(job);
  }
}

TEST_F(Handles, even_listener_handle_is_a_core_listener_fed_by_on_event_and_run_consumes_its_reference) {
  auto recorder = std::make_shared<RecordingListener>();
  const std::uint64_t listener = ffi::make_listener_handle(recorder);
  EXPECT_EQ(listener % 2, 0u);
  const ScanEvent event{ScanEvent::Progress{1, 2, 3}};
  CoreCallStatus status = fresh_status();
  quelmaris_ffi_scanlistener_on_event(clone(listener), ffi::lower(event), &status);
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(recorder->events(), std::vector<ScanEvent>{event});

  const std::uint8_t bad_tag[] = {0, 0, 0, 9};
  quelmaris_ffi_scanlistener_on_event(clone(listener), ffi::copy_to_buffer(bad_tag), &status);
  EXPECT_EQ(failure(status), failed("Failed to convert arg 'event':\nInvalid ScanEvent enum value: 9"));

  status = fresh_status();
  const std::uint64_t job = new_job();
  EXPECT_EQ(run(job, ffi::lower(kNoRoots), clone(listener)).code, 0);
  EXPECT_EQ(recorder->events().at(1), ScanEvent{ScanEvent::Phase{Phase::Listing}});
  EXPECT_EQ(ffi::strong_count(listener), 1u);
  EXPECT_EQ(ffi::strong_count(job), 1u) << "the run consumes its clone of the job";
  quelmaris_ffi_scanlistener_free(listener, &status);
  EXPECT_EQ(status.code, 0);
  EXPECT_EQ(recorder.use_count(), 1);
  free_job(job);
}

TEST_F(Handles, failure_inside_a_core_listener_becomes_status_two) {
  const std::pair<void (*)(const ScanEvent&), std::string> cases[] = {
      {[](const ScanEvent&) { throw std::runtime_error("listener broke"); }, "listener broke"},
      {[](const ScanEvent&) { throw 42; }, "Unknown panic!"}};
  for (const auto& [fail, expected] : cases) {
    SCOPED_TRACE(expected);
    auto throwing = std::make_shared<RecordingListener>();
    throwing->hook = fail;
    const std::uint64_t listener = ffi::make_listener_handle(throwing);
    CoreCallStatus status = fresh_status();
    quelmaris_ffi_scanlistener_on_event(listener, ffi::lower(ScanEvent{ScanEvent::Progress{1, 2, 3}}), &status);
    EXPECT_EQ(failure(status), failed(expected));
  }
}

TEST_F(Handles, handles_naming_no_object_are_refused_and_zero_frees_nothing) {
  const std::uint64_t application_listener = Callbacks::instance().new_listener();
  const std::pair<const char*, std::function<void(CoreCallStatus*)>> calls[] = {
      {"cancel 0", [](CoreCallStatus* s) { quelmaris_ffi_scanjob_cancel(0, s); }},
      {"is_cancelled 0", [](CoreCallStatus* s) { quelmaris_ffi_scanjob_is_cancelled(0, s); }},
      {"clone odd", [&](CoreCallStatus* s) { quelmaris_ffi_object_clone(application_listener, s); }},
      {"free misaligned job", [](CoreCallStatus* s) { quelmaris_ffi_scanjob_free(8, s); }},
      {"free odd listener", [&](CoreCallStatus* s) { quelmaris_ffi_scanlistener_free(application_listener, s); }},
      {"on_event odd",
       [&](CoreCallStatus* s) {
         quelmaris_ffi_scanlistener_on_event(application_listener, ffi::lower(ScanEvent{ScanEvent::Progress{}}), s);
       }},
  };
  for (const auto& [what, call] : calls) {
    SCOPED_TRACE(what);
    CoreCallStatus status = fresh_status();
    call(&status);
    EXPECT_EQ(status.code, 2);
    EXPECT_FALSE(take_message(status).empty());
  }
  EXPECT_EQ(Callbacks::instance().frees(application_listener), 0);

  CoreCallStatus status = fresh_status();  // handle 0 is nothing to free
  quelmaris_ffi_scanjob_free(0, &status);
  quelmaris_ffi_scanlistener_free(0, &status);
  EXPECT_EQ(status.code, 0);
}

}  // namespace
}  // namespace quelmaris::testing
