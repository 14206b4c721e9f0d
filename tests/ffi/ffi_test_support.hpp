// Helpers for driving the C exports from tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core_buffer.hpp"
#include "quelmaris_ffi.h"
#include "value_form.hpp"

namespace quelmaris::testing {

// A configuration that lists no folder: a run of it fails right after listing.
inline const ScanConfig kNoRoots{{}, MatchMode::NameAndSize, false, true, 0, true, {}, {}, 0, KeepRule::FolderPriority};

inline CoreCallStatus fresh_status() { return CoreCallStatus{0, CoreBuffer{0, 0, nullptr}}; }

// The status's message; frees its buffer.
inline std::string take_message(CoreCallStatus& status) {
  const auto bytes = ffi::bytes_of(status.errorBuf);
  std::string message(bytes.begin(), bytes.end());
  ffi::free_buffer(status.errorBuf);
  status.errorBuf = CoreBuffer{0, 0, nullptr};
  return message;
}

// A failed call's status: code 2 and its message, its buffer freed.
inline std::pair<int, std::string> failure(CoreCallStatus& status) { return {status.code, take_message(status)}; }
inline std::pair<int, std::string> failed(std::string message) { return {2, std::move(message)}; }

// Takes a result buffer over: its bytes, then frees it.
inline std::vector<std::uint8_t> take_bytes(CoreBuffer buffer) {
  const auto bytes = ffi::bytes_of(buffer);
  std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
  ffi::free_buffer(buffer);
  return out;
}

template <class T>
std::vector<std::uint8_t> lowered_bytes(const T& value) {
  return take_bytes(ffi::lower(value));
}

// What the recording callback table saw, per application listener handle.
class Callbacks {
 public:
  static Callbacks& instance() {
    static Callbacks callbacks;
    return callbacks;
  }
  static const ScanListenerVTable& table() {
    static const ScanListenerVTable vtable{&on_free, &on_clone, &on_event};
    return vtable;
  }

  // A new odd handle for one test, whose onEvent answers with the given status.
  std::uint64_t new_listener(std::int8_t reply_code = 0, std::string reply_text = {}) {
    std::lock_guard lock(mutex_);
    const std::uint64_t handle = next_handle_;
    next_handle_ += 2;
    replies_[handle] = {reply_code, std::move(reply_text)};
    return handle;
  }
  std::vector<ScanEvent> events(std::uint64_t handle) {
    std::lock_guard lock(mutex_);
    return events_[handle];
  }
  int frees(std::uint64_t handle) {
    std::lock_guard lock(mutex_);
    return frees_[handle];
  }
  int clones() const { return clones_.load(); }

 private:
  struct Reply {
    std::int8_t code;
    std::string text;
  };

  static void on_free(std::uint64_t handle) {
    std::lock_guard lock(instance().mutex_);
    ++instance().frees_[handle];
  }
  static std::uint64_t on_clone(std::uint64_t handle) {
    ++instance().clones_;
    return handle;
  }
  static void on_event(std::uint64_t handle, CoreBuffer event, void*, CoreCallStatus* status) {
    const auto bytes = take_bytes(event);
    Callbacks& self = instance();
    std::lock_guard lock(self.mutex_);
    self.events_[handle].push_back(ffi::lift<ScanEvent>(bytes));
    const Reply& reply = self.replies_[handle];
    if (reply.code == 0) return;
    status->code = reply.code;
    status->errorBuf =
        ffi::copy_to_buffer({reinterpret_cast<const std::uint8_t*>(reply.text.data()), reply.text.size()});
  }

  std::mutex mutex_;
  std::uint64_t next_handle_ = 1;
  std::map<std::uint64_t, Reply> replies_;
  std::map<std::uint64_t, std::vector<ScanEvent>> events_;
  std::map<std::uint64_t, int> frees_;
  std::atomic<int> clones_{0};
};

}  // namespace quelmaris::testing
