#include "interface/QuelmarisCore.h"

#include "interface/Agreement.h"
#include "interface/CoreCall.h"

ScanConfig defaultScanConfig() {
  uniffiEnsureInitialized();
  return callOrStop([] { return lift<ScanConfig>(coreCall(quelmaris_ffi_default_scan_config)); });
}

Identity checkIdentity(const FileEntry& file) {
  uniffiEnsureInitialized();
  return callOrStop([&] {
    const CoreBuffer argument = lower(file);
    return lift<Identity>(coreCall([&](CoreCallStatus* s) { return quelmaris_ffi_check_identity(argument, s); }));
  });
}

std::uint32_t chooseKeeper(const QList<FileEntry>& files, KeepRule rule) {
  uniffiEnsureInitialized();
  if (files.isEmpty()) return 0;
  return callOrStop([&] {
    const CoreBuffer filesArgument = lower(files);
    const CoreBuffer ruleArgument = lower(rule);
    return coreCall([&](CoreCallStatus* s) { return quelmaris_ffi_choose_keeper(filesArgument, ruleArgument, s); });
  });
}

TrashPlan planTrash(const QList<PlanSet>& sets, bool allowUnverified) {
  return planTrash(sets, allowUnverified, quelmaris_ffi_plan_trash);
}

TrashPlan planTrash(const QList<PlanSet>& sets, bool allowUnverified, PlanTrashExport planTrashExport) {
  uniffiEnsureInitialized();
  const CoreBuffer argument = lower(sets);
  const auto raiseViolation = [](CoreBuffer errorBuf) { throw lift<InvariantViolation>(errorBuf); };
  return lift<TrashPlan>(coreCall(
      [&](CoreCallStatus* s) { return planTrashExport(argument, allowUnverified ? 1 : 0, s); }, raiseViolation));
}

ScanJob::ScanJob() {
  uniffiEnsureInitialized();
  handle_ = callOrStop([] { return coreCall(quelmaris_ffi_scanjob_new); });
}

ScanJob::~ScanJob() {
  if (handle_ == 0) return;
  uniffiEnsureInitialized();
  callOrStop([&] { coreCall([&](CoreCallStatus* s) { quelmaris_ffi_scanjob_free(handle_, s); }); });
}

void ScanJob::cancel() const {
  uniffiEnsureInitialized();
  const std::uint64_t job = clonedHandle();
  callOrStop([&] { coreCall([&](CoreCallStatus* s) { quelmaris_ffi_scanjob_cancel(job, s); }); });
}

bool ScanJob::isCancelled() const {
  uniffiEnsureInitialized();
  const std::uint64_t job = clonedHandle();
  return callOrStop([&] {
           return coreCall([&](CoreCallStatus* s) { return quelmaris_ffi_scanjob_is_cancelled(job, s); });
         }) != 0;
}

void ScanJob::run(const ScanConfig& config, std::shared_ptr<ScanListener> listener) const {
  uniffiEnsureInitialized();
  const std::uint64_t job = clonedHandle();
  callOrStop([&] {
    const CoreBuffer configArgument = lower(config);
    const std::uint64_t listenerHandle = lowerListener(std::move(listener));
    coreCall([&](CoreCallStatus* s) { quelmaris_ffi_scanjob_run(job, configArgument, listenerHandle, s); });
  });
}

std::uint64_t ScanJob::clonedHandle() const {
  return callOrStop(
      [&] { return coreCall([&](CoreCallStatus* s) { return quelmaris_ffi_object_clone(handle_, s); }); });
}
