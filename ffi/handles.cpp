#include "handles.hpp"

#include <string>

#include "arguments.hpp"
#include "counted.hpp"
#include "foreign_listener.hpp"

namespace quelmaris::ffi {

namespace {

using ListenerBox = std::shared_ptr<ScanListener>;

bool is_application_handle(std::uint64_t handle) { return handle % 2 == 1; }

bool may_name_counted(std::uint64_t handle) { return handle != 0 && handle % kCountedAlignment == 0; }

}  // namespace

std::uint64_t new_job_handle() { return make_counted<ScanJob>(); }

JobRef::~JobRef() {
  if (may_name_counted(handle_)) release_counted<ScanJob>(handle_);
}

ScanJob& JobRef::job() const {
  check_counted_handle(handle_);
  return counted_value<ScanJob>(handle_);
}

std::uint64_t make_listener_handle(std::shared_ptr<ScanListener> listener) {
  return make_counted<ListenerBox>(std::move(listener));
}

CoreListenerRef::~CoreListenerRef() {
  if (may_name_counted(handle_)) release_counted<ListenerBox>(handle_);
}

std::shared_ptr<ScanListener> CoreListenerRef::listener() const {
  if (!may_name_counted(handle_)) throw conversion_error("listener", "invalid handle " + std::to_string(handle_));
  return counted_value<ListenerBox>(handle_);
}

ListenerArg::ListenerArg(std::uint64_t handle) noexcept
    : handle_(handle), core_(is_application_handle(handle) ? 0 : handle) {}

ListenerArg::~ListenerArg() {
  if (is_application_handle(handle_) && !handed_over_) free_foreign_handle(handle_);
}

std::shared_ptr<ScanListener> ListenerArg::lift() {
  if (!is_application_handle(handle_)) return core_.listener();
  auto foreign = std::make_shared<ForeignListener>(handle_);
  handed_over_ = true;
  return foreign;
}

}  // namespace quelmaris::ffi
