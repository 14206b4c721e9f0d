// The application's side of the scanning core's call interface: the mirrored
// records and enums, the scan job and the four functions. Every operation
// first runs the one-time agreement check. A failure of the call machinery
// stops the program, except in planTrash, which raises it to its caller.
#pragma once

#include <quelmaris_ffi.h>

#include <QList>
#include <cstdint>
#include <memory>

#include "interface/InterfaceEnums.h"
#include "interface/InterfaceRecords.h"
#include "interface/ListenerCallbacks.h"
#include "interface/ScanEvent.h"
#include "interface/UniffiInternalError.h"

// The core's default settings of a scan (no roots).
ScanConfig defaultScanConfig();

// How the file now at the entry's path compares with the entry.
Identity checkIdentity(const FileEntry& file);

// The index of the copy the rule suggests keeping; 0 for an empty list.
std::uint32_t chooseKeeper(const QList<FileEntry>& files, KeepRule rule);

// The core's last check before a move to the Trash. Raises InvariantViolation
// when the marking could lose the last copy of a file, and UniffiInternalError
// when the call itself fails.
TrashPlan planTrash(const QList<PlanSet>& sets, bool allowUnverified);

// The same through another plan_trash export: the seam through which tests
// put a failing core behind the planner.
using PlanTrashExport = CoreBuffer (*)(CoreBuffer sets, std::int8_t allowUnverified, CoreCallStatus* status);
TrashPlan planTrash(const QList<PlanSet>& sets, bool allowUnverified, PlanTrashExport planTrashExport);

// One scan in the core, held by handle. cancel may be called from any thread,
// before, during or after run; run blocks its thread (never the main thread)
// until the scan's Finished or Failed has been delivered to the listener.
class ScanJob {
 public:
  ScanJob();
  ~ScanJob();
  ScanJob(const ScanJob&) = delete;
  ScanJob& operator=(const ScanJob&) = delete;

  void cancel() const;
  bool isCancelled() const;
  void run(const ScanConfig& config, std::shared_ptr<ScanListener> listener) const;

  std::uint64_t handle() const { return handle_; }

 private:
  // A reference of the handle for one method call, which consumes it.
  std::uint64_t clonedHandle() const;

  std::uint64_t handle_;
};
