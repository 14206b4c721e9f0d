#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "app_test_support.hpp"
#include "interface/CoreCall.h"
#include "interface/ListenerCallbacks.h"
#include "interface/UniffiHandleMap.h"

namespace {

class Recorder : public ScanListener {
 public:
  void onEvent(ScanEvent event) override {
    const std::lock_guard guard(mutex_);
    events.push_back(std::move(event));
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<ScanEvent> events;
  std::vector<std::thread::id> threads;

 private:
  std::mutex mutex_;
};

using Case = UniffiInternalError::Case;

// Throws when the body raises nothing.
Case raisedBy(auto body) { return apptest::thrownBy<UniffiInternalError>(body).value().which(); }

QString errorText(CoreCallStatus& status) {
  const ReceivedBuffer owned(status.errorBuf);
  return QString::fromUtf8(reinterpret_cast<const char*>(status.errorBuf.data),
                           static_cast<qsizetype>(status.errorBuf.len));
}

const ScanEvent someEvent{ScanEvent::phase{Phase::grouping}};

TEST(UniffiHandleMap, handles_are_odd_from_one_and_a_clone_names_the_same_object) {
  UniffiHandleMap<Recorder> map;
  const auto first = std::make_shared<Recorder>();
  EXPECT_EQ(map.insert(first), 1u);
  EXPECT_EQ(map.insert(std::make_shared<Recorder>()), 3u);
  const std::uint64_t cloned = map.clone(1);
  EXPECT_EQ(cloned, 5u);
  EXPECT_EQ(map.get(cloned), first);

  EXPECT_EQ(map.remove(1), first);
  EXPECT_EQ(map.get(5), first) << "the clone holds its own entry";
  EXPECT_EQ(raisedBy([&] { map.get(1); }), Case::unexpectedStaleHandle);
  EXPECT_EQ(raisedBy([&] { map.remove(1); }), Case::unexpectedStaleHandle);
  EXPECT_EQ(raisedBy([&] { map.clone(1); }), Case::unexpectedStaleHandle);
  EXPECT_EQ(map.insert(first), 7u) << "handles are never reused";
}

TEST(ListenerCallbacks, on_event_delivers_on_the_calling_thread_and_reports_failures_in_the_status_instead) {
  const auto recorder = std::make_shared<Recorder>();
  const std::uint64_t handle = lowerListener(recorder);
  CoreCallStatus delivered{0, {0, 0, nullptr}};
  std::thread core([&] { scanListenerVTable().onEvent(handle, lower(someEvent), nullptr, &delivered); });
  const auto coreThread = core.get_id();
  core.join();
  EXPECT_EQ(delivered.code, 0);
  ASSERT_EQ(recorder->events, std::vector<ScanEvent>{someEvent});
  EXPECT_EQ(recorder->threads.front(), coreThread);
  scanListenerVTable().uniffiFree(handle);

  const std::uint64_t live = lowerListener(recorder);
  const std::tuple<const char*, std::uint64_t, CoreBuffer, const char*> rows[] = {
      {"stale handle", handle, lower(someEvent), "The object in the handle map has been dropped already"},
      {"event tag 9", live, sendBytes(QByteArray("\0\0\0\x09", 4)), "Raw enum value doesn't match any cases"},
      {"extra byte", live, sendBytes(QByteArray("\0\0\0\x01\0\0\0\x02\0", 9)),
       "The buffer still has data after lifting its containing value"},
  };
  for (const auto& [what, target, event, text] : rows) {
    SCOPED_TRACE(what);
    CoreCallStatus status{0, {0, 0, nullptr}};
    scanListenerVTable().onEvent(target, event, nullptr, &status);
    EXPECT_EQ(status.code, 2);
    EXPECT_EQ(errorText(status), QString::fromLatin1(text));
  }
  EXPECT_EQ(recorder->events.size(), 1u) << "no failure reaches the listener";
  scanListenerVTable().uniffiFree(live);
}

TEST(ListenerCallbacks, a_missing_handle_is_printed_when_freed_and_stops_the_program_when_cloned) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto recorder = std::make_shared<Recorder>();
  const std::uint64_t kept = lowerListener(recorder);
  const std::uint64_t freed = scanListenerVTable().uniffiClone(kept);
  scanListenerVTable().uniffiFree(freed);

  ::testing::internal::CaptureStdout();
  scanListenerVTable().uniffiFree(freed);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Uniffi callback interface ScanListener: handle missing in uniffiFree\n");
  EXPECT_EQ(listenerHandleMap().get(kept), recorder);
  EXPECT_DEATH(scanListenerVTable().uniffiClone(freed),
               "Uniffi callback interface ScanListener: handle missing in uniffiClone");
  scanListenerVTable().uniffiFree(kept);
}

}  // namespace
