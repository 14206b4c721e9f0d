// The Scan and Stop commands, shared by the toolbar button and the "Scan"
// menu so that both follow one rule. Main thread only.
#pragma once

#include "scan/ScanOptions.h"

class FolderStore;
class ScanStore;
class TrashService;

namespace ScanCommands {

// Scan is offered while no scan runs, no files move to the Trash (new results
// would list them, and would replace the results that report the move) and
// at least one listed folder is available.
bool canStart(const FolderStore& folders, const ScanStore& scan, const TrashService& trash);
// Scans the available folders, in list order, with the options, when Scan is offered.
void start(const FolderStore& folders, ScanStore& scan, const TrashService& trash, const ScanOptions& options);
// Stop is offered only while a scan runs.
bool canStop(const ScanStore& scan);
// Asks the running scan to stop; the store returns to idle when the core confirms.
void stop(ScanStore& scan);

}  // namespace ScanCommands
