// Handles of the objects that cross the call interface by reference. A scan
// job is a counted ScanJob behind an even handle; every export given a job
// handle, except the clone, consumes one reference (JobRef releases it).
// A listener handle is odd when the application made it (its listener is
// reached through the callback table) and even when it names a box of the
// core holding one of the core's own listeners.
#pragma once

#include <cstdint>
#include <memory>

#include "scan_job.hpp"
#include "scan_listener.hpp"

namespace quelmaris::ffi {

std::uint64_t new_job_handle();

// One reference to a job, released when this goes whatever happens in
// between; a handle of 0 holds nothing.
class JobRef {
 public:
  explicit JobRef(std::uint64_t handle) noexcept : handle_(handle) {}
  ~JobRef();
  JobRef(const JobRef&) = delete;
  JobRef& operator=(const JobRef&) = delete;

  // Throws std::invalid_argument for a handle that cannot name a job.
  ScanJob& job() const;

 private:
  std::uint64_t handle_;
};

// Puts one of the core's own listeners in a box behind an even handle.
std::uint64_t make_listener_handle(std::shared_ptr<ScanListener> listener);

// One reference to a core-side listener box, released when this goes.
class CoreListenerRef {
 public:
  explicit CoreListenerRef(std::uint64_t handle) noexcept : handle_(handle) {}
  ~CoreListenerRef();
  CoreListenerRef(const CoreListenerRef&) = delete;
  CoreListenerRef& operator=(const CoreListenerRef&) = delete;

  // A counted reference to the boxed listener; throws the conversion error
  // of the `listener` argument for a handle that names no box.
  std::shared_ptr<ScanListener> listener() const;

 private:
  std::uint64_t handle_;
};

// The `listener` argument of run: whatever happens, the reference that the
// handle carries is released, an application handle through uniffiFree.
class ListenerArg {
 public:
  explicit ListenerArg(std::uint64_t handle) noexcept;
  ~ListenerArg();
  ListenerArg(const ListenerArg&) = delete;
  ListenerArg& operator=(const ListenerArg&) = delete;

  std::shared_ptr<ScanListener> lift();

 private:
  std::uint64_t handle_;
  CoreListenerRef core_;
  bool handed_over_ = false;
};

}  // namespace quelmaris::ffi
