// The agreement constants, generated at build time from the interface
// description that the application is built with as well.
#include "quelmaris_ffi.h"
#include "quelmaris_ffi_checksums.h"

extern "C" {

uint32_t quelmaris_ffi_contract_version(void) { return QUELMARIS_FFI_CONTRACT_VERSION; }
uint16_t quelmaris_ffi_checksum_check_identity(void) { return QUELMARIS_FFI_CHECKSUM_CHECK_IDENTITY; }
uint16_t quelmaris_ffi_checksum_choose_keeper(void) { return QUELMARIS_FFI_CHECKSUM_CHOOSE_KEEPER; }
uint16_t quelmaris_ffi_checksum_default_scan_config(void) { return QUELMARIS_FFI_CHECKSUM_DEFAULT_SCAN_CONFIG; }
uint16_t quelmaris_ffi_checksum_plan_trash(void) { return QUELMARIS_FFI_CHECKSUM_PLAN_TRASH; }
uint16_t quelmaris_ffi_checksum_scanjob_cancel(void) { return QUELMARIS_FFI_CHECKSUM_SCANJOB_CANCEL; }
uint16_t quelmaris_ffi_checksum_scanjob_is_cancelled(void) { return QUELMARIS_FFI_CHECKSUM_SCANJOB_IS_CANCELLED; }
uint16_t quelmaris_ffi_checksum_scanjob_run(void) { return QUELMARIS_FFI_CHECKSUM_SCANJOB_RUN; }
uint16_t quelmaris_ffi_checksum_scanlistener_on_event(void) { return QUELMARIS_FFI_CHECKSUM_SCANLISTENER_ON_EVENT; }
uint16_t quelmaris_ffi_checksum_scanjob_new(void) { return QUELMARIS_FFI_CHECKSUM_SCANJOB_NEW; }

}  // extern "C"
