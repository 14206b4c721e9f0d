#include "shell/ScanCommands.h"

#include "folders/FolderStore.h"
#include "scan/ScanStore.h"
#include "platform/MainThread.h"
#include "trash/TrashService.h"

namespace ScanCommands {

bool canStart(const FolderStore& folders, const ScanStore& scan, const TrashService& trash) {
  return !scan.state().is<ScanStore::State::scanning>() && !trash.isMoving() && !folders.urls().isEmpty();
}

void start(const FolderStore& folders, ScanStore& scan, const TrashService& trash, const ScanOptions& options) {
  requireMainThread();
  if (canStart(folders, scan, trash)) scan.start(folders.urls(), options);
}

bool canStop(const ScanStore& scan) { return scan.state().is<ScanStore::State::scanning>(); }

void stop(ScanStore& scan) {
  requireMainThread();
  scan.cancel();
}

}  // namespace ScanCommands
