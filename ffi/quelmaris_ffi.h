/* The scanning core's C call interface. Records, enums and sequences travel
 * serialised in CoreBuffers (big-endian, positional); plain values pass as
 * they are. Every call that can fail fills in the CoreCallStatus given last:
 * 0 success, 1 declared error (plan_trash only: the serialised violation),
 * 2 unexpected failure (errorBuf holds the message as raw UTF-8).
 * The status must not be null; create it zeroed before each call.
 * A buffer passed as an argument belongs to the callee from then on; a buffer
 * returned, or placed in errorBuf, belongs to the caller, who frees it with
 * quelmaris_ffi_corebuffer_free. All functions may be called from any thread. */
#ifndef QUELMARIS_FFI_H
#define QUELMARIS_FFI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct CoreBuffer { uint64_t capacity; uint64_t len; uint8_t *data; } CoreBuffer;
typedef struct ForeignBytes { int32_t len; const uint8_t *data; } ForeignBytes;
typedef struct CoreCallStatus { int8_t code; CoreBuffer errorBuf; } CoreCallStatus;

/* The application's listener callbacks. onEvent receives one serialised
 * ScanEvent, which it reads and frees; it reports a failure as code 2 with a
 * UTF-8 text in status->errorBuf. Called from the core's threads, concurrently. */
typedef struct ScanListenerVTable {
    void     (*uniffiFree)(uint64_t handle);
    uint64_t (*uniffiClone)(uint64_t handle);
    void     (*onEvent)(uint64_t handle, CoreBuffer event, void *ret, CoreCallStatus *status);
} ScanListenerVTable;

CoreBuffer quelmaris_ffi_default_scan_config(CoreCallStatus *status);
CoreBuffer quelmaris_ffi_check_identity(CoreBuffer file, CoreCallStatus *status);
uint32_t   quelmaris_ffi_choose_keeper(CoreBuffer files, CoreBuffer rule, CoreCallStatus *status);
CoreBuffer quelmaris_ffi_plan_trash(CoreBuffer sets, int8_t allow_unverified, CoreCallStatus *status);

/* Job handles are even; every call given one, except object_clone, consumes
 * one reference. Listener handles made by the application are odd. */
uint64_t   quelmaris_ffi_scanjob_new(CoreCallStatus *status);
void       quelmaris_ffi_scanjob_cancel(uint64_t job, CoreCallStatus *status);
int8_t     quelmaris_ffi_scanjob_is_cancelled(uint64_t job, CoreCallStatus *status);
void       quelmaris_ffi_scanjob_run(uint64_t job, CoreBuffer config, uint64_t listener, CoreCallStatus *status);
void       quelmaris_ffi_scanlistener_on_event(uint64_t listener, CoreBuffer event, CoreCallStatus *status);
uint64_t   quelmaris_ffi_object_clone(uint64_t handle, CoreCallStatus *status);
void       quelmaris_ffi_scanjob_free(uint64_t job, CoreCallStatus *status);
void       quelmaris_ffi_scanlistener_free(uint64_t listener, CoreCallStatus *status);

CoreBuffer quelmaris_ffi_corebuffer_alloc(uint64_t size, CoreCallStatus *status);
void       quelmaris_ffi_corebuffer_free(CoreBuffer buf, CoreCallStatus *status);
CoreBuffer quelmaris_ffi_corebuffer_from_bytes(ForeignBytes bytes, CoreCallStatus *status);
CoreBuffer quelmaris_ffi_corebuffer_reserve(CoreBuffer buf, uint64_t additional, CoreCallStatus *status);

uint32_t   quelmaris_ffi_contract_version(void);
uint16_t   quelmaris_ffi_checksum_check_identity(void);
uint16_t   quelmaris_ffi_checksum_choose_keeper(void);
uint16_t   quelmaris_ffi_checksum_default_scan_config(void);
uint16_t   quelmaris_ffi_checksum_plan_trash(void);
uint16_t   quelmaris_ffi_checksum_scanjob_cancel(void);
uint16_t   quelmaris_ffi_checksum_scanjob_is_cancelled(void);
uint16_t   quelmaris_ffi_checksum_scanjob_run(void);
uint16_t   quelmaris_ffi_checksum_scanlistener_on_event(void);
uint16_t   quelmaris_ffi_checksum_scanjob_new(void);

/* Registers the listener callbacks; call once, before any listener handle is passed. */
void       quelmaris_ffi_init_callback_vtable_scanlistener(const ScanListenerVTable *vtable);

#ifdef __cplusplus
}
#endif

#endif /* QUELMARIS_FFI_H */
