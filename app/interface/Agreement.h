// The one-time agreement check that precedes every call into the core: the
// core's contract version and its nine operation checksums must equal those
// this application was built with; then the listener callback table is
// registered. A mismatch stops the program at the first call.
#pragma once

#include <quelmaris_ffi.h>

#include <array>
#include <cstdint>

// The queries of the check, in the order in which they are made; the linked
// core's by default, another in tests.
struct CoreContract {
  std::uint32_t (*contractVersion)();
  // check_identity, choose_keeper, default_scan_config, plan_trash,
  // ScanJob::cancel, ScanJob::is_cancelled, ScanJob::run,
  // ScanListener::on_event, ScanJob::new.
  std::array<std::uint16_t (*)(), 9> checksums;
  void (*registerCallbacks)(const ScanListenerVTable* table);
};

const CoreContract& linkedCore();

enum class AgreementResult : std::uint8_t { agreed = 0, contractVersionMismatch = 1, checksumMismatch = 2 };

// Runs the check against core: the version first, then the checksums in
// order, stopping at the first mismatch; registers the callbacks on agreement.
AgreementResult initializationResult(const CoreContract& core);

// Stops the program with the mismatch's message unless result is agreed.
void stopUnlessAgreed(AgreementResult result);

// At the head of every application-side operation: the check against the
// linked core runs once per process, and its result holds for every call.
void uniffiEnsureInitialized();
