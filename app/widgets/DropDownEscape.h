// Escape in an open drop-down closes the drop-down alone. Qt's drop-down
// closes itself while the key is only being offered to shortcuts, and does
// not claim it: the key press then reaches the window under it, whose own
// Escape closes a popover, or the settings window, too. Main thread only.
#pragma once

class QComboBox;

namespace DropDownEscape {

// For the box's list as it is now: a list set later is not covered.
void closeDropDownAlone(QComboBox& box);

}  // namespace DropDownEscape
