// The "Scan" menu: Scan (Ctrl+R), Stop (Ctrl+.), a divider and the scan
// options. Scan is enabled while no scan runs, no files move to the Trash and
// a listed folder is available; Stop only while a scan runs. Main thread only.
#pragma once

class FolderStore;
class QMenuBar;
class ScanOptionsBinding;
class ScanStore;
class TrashService;

void buildScanMenu(QMenuBar& bar, FolderStore& folders, ScanStore& scan, const TrashService& trash,
                   ScanOptionsBinding& options);
