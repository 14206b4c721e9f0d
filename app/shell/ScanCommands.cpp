#include "shell/ScanCommands.h"

#include "folders/FolderStore.h"
#include "scan/ScanStore.h"
#include "platform/MainThread.h"

namespace ScanCommands {

bool canStart(const FolderStore& folders, const ScanStore& scan) {
  return !scan.state().is<ScanStore::State::scanning>() && !folders.urls().isEmpty();
}

void start(const FolderStore& folders, ScanStore& scan, const ScanOptions& options) {
  requireMainThread();
  scan.start(folders.urls(), options);
}

bool canStop(const ScanStore& scan) { return scan.state().is<ScanStore::State::scanning>(); }

void stop(ScanStore& scan) {
  requireMainThread();
  scan.cancel();
}

}  // namespace ScanCommands
