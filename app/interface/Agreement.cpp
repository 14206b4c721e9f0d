#include "interface/Agreement.h"

#include <quelmaris_ffi_checksums.h>

#include "interface/CoreCall.h"
#include "interface/ListenerCallbacks.h"

namespace {

constexpr std::uint32_t builtContractVersion = QUELMARIS_FFI_CONTRACT_VERSION;
static_assert(builtContractVersion == 30);

constexpr std::array<std::uint16_t, 9> builtChecksums = {
    QUELMARIS_FFI_CHECKSUM_CHECK_IDENTITY,      QUELMARIS_FFI_CHECKSUM_CHOOSE_KEEPER,
    QUELMARIS_FFI_CHECKSUM_DEFAULT_SCAN_CONFIG, QUELMARIS_FFI_CHECKSUM_PLAN_TRASH,
    QUELMARIS_FFI_CHECKSUM_SCANJOB_CANCEL,      QUELMARIS_FFI_CHECKSUM_SCANJOB_IS_CANCELLED,
    QUELMARIS_FFI_CHECKSUM_SCANJOB_RUN,         QUELMARIS_FFI_CHECKSUM_SCANLISTENER_ON_EVENT,
    QUELMARIS_FFI_CHECKSUM_SCANJOB_NEW,
};

}  // namespace

const CoreContract& linkedCore() {
  static const CoreContract core{
      quelmaris_ffi_contract_version,
      {quelmaris_ffi_checksum_check_identity, quelmaris_ffi_checksum_choose_keeper,
       quelmaris_ffi_checksum_default_scan_config, quelmaris_ffi_checksum_plan_trash,
       quelmaris_ffi_checksum_scanjob_cancel, quelmaris_ffi_checksum_scanjob_is_cancelled,
       quelmaris_ffi_checksum_scanjob_run, quelmaris_ffi_checksum_scanlistener_on_event,
       quelmaris_ffi_checksum_scanjob_new},
      quelmaris_ffi_init_callback_vtable_scanlistener,
  };
  return core;
}

AgreementResult initializationResult(const CoreContract& core) {
  if (core.contractVersion() != builtContractVersion) return AgreementResult::contractVersionMismatch;
  for (std::size_t i = 0; i < builtChecksums.size(); ++i)
    if (core.checksums[i]() != builtChecksums[i]) return AgreementResult::checksumMismatch;
  core.registerCallbacks(&scanListenerVTable());
  return AgreementResult::agreed;
}

void stopUnlessAgreed(AgreementResult result) {
  switch (result) {
    case AgreementResult::agreed:
      return;
    case AgreementResult::contractVersionMismatch:
      stopProgram(QStringLiteral("UniFFI contract version mismatch: try cleaning and rebuilding your project"));
    case AgreementResult::checksumMismatch:
      stopProgram(QStringLiteral("UniFFI API checksum mismatch: try cleaning and rebuilding your project"));
  }
}

void uniffiEnsureInitialized() {
  static const AgreementResult result = initializationResult(linkedCore());
  stopUnlessAgreed(result);
}
