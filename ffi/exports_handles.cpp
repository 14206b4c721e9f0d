// The scan job, the listener handles and the callback table.
#include "arguments.hpp"
#include "call_status.hpp"
#include "counted.hpp"
#include "foreign_listener.hpp"
#include "handles.hpp"

using namespace quelmaris;
using namespace quelmaris::ffi;

extern "C" {

uint64_t quelmaris_ffi_scanjob_new(CoreCallStatus* status) {
  return guarded(status, [] { return new_job_handle(); });
}

void quelmaris_ffi_scanjob_cancel(uint64_t job, CoreCallStatus* status) {
  guarded(status, [&] { JobRef(job).job().cancel(); });
}

int8_t quelmaris_ffi_scanjob_is_cancelled(uint64_t job, CoreCallStatus* status) {
  return guarded(status, [&] { return static_cast<int8_t>(JobRef(job).job().is_cancelled() ? 1 : 0); });
}

void quelmaris_ffi_scanjob_run(uint64_t job, CoreBuffer config, uint64_t listener, CoreCallStatus* status) {
  guarded(status, [&] {
    const JobRef job_ref(job);
    ListenerArg listener_arg(listener);
    const BufferArg config_arg(config);
    ScanJob& scan = job_ref.job();
    const std::shared_ptr<ScanListener> sink = listener_arg.lift();
    scan.run(lift_arg<ScanConfig>(config_arg, "config"), *sink);
  });
}

void quelmaris_ffi_scanlistener_on_event(uint64_t listener, CoreBuffer event, CoreCallStatus* status) {
  guarded(status, [&] {
    const CoreListenerRef listener_ref(listener);
    const BufferArg event_arg(event);
    const std::shared_ptr<ScanListener> target = listener_ref.listener();
    target->on_event(lift_arg<ScanEvent>(event_arg, "event"));
  });
}

uint64_t quelmaris_ffi_object_clone(uint64_t handle, CoreCallStatus* status) {
  return guarded(status, [&] {
    check_counted_handle(handle);
    retain_counted(handle);
    return handle;
  });
}

void quelmaris_ffi_scanjob_free(uint64_t job, CoreCallStatus* status) {
  guarded(status, [&] {
    if (job != 0) check_counted_handle(job);
    const JobRef released(job);
  });
}

void quelmaris_ffi_scanlistener_free(uint64_t listener, CoreCallStatus* status) {
  guarded(status, [&] {
    if (listener != 0) check_counted_handle(listener);
    const CoreListenerRef released(listener);
  });
}

void quelmaris_ffi_init_callback_vtable_scanlistener(const ScanListenerVTable* vtable) {
  register_callback_table(vtable);
}

}  // extern "C"
