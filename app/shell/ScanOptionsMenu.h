// The three scan-option controls (Match, Verify Content, Keep), built in two
// places from one description: as items of the "Scan" menu and as the form
// rows of the toolbar's options popover. Every change goes through the
// options binding; every control follows the binding's changes. Verify
// Content is disabled while matching by content only (such a scan always
// verifies) and keeps showing its stored value. Main thread only.
#pragma once

class QMenu;
class QWidget;
class ScanOptionsBinding;

namespace ScanOptionsMenu {

// "Match" and "Keep" as submenus of choices, "Verify Content" as a check item.
void addItems(QMenu& menu, ScanOptionsBinding& options);
// Form rows: two choice boxes and a check box.
QWidget* formRows(ScanOptionsBinding& options, QWidget* parent = nullptr);

}  // namespace ScanOptionsMenu
