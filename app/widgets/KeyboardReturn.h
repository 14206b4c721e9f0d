// Gives the keyboard back to the window a dialog or side window was opened
// over, once that window has gone while it held the keyboard. The desktop
// usually does it, but not always as the widgets expect: under a window
// manager the X focus can come back to the opener while the widgets drop the
// activation (a completion list still open, or the focus-in met by the closed
// window's late focus-out on a busy machine), so that no control has the
// focus and no key but a shortcut acts; or the desktop activates no window.
// It looks at once and then for a second, while no window of ours is active:
// where the X focus is on the opener, the widgets are told; where it is on no
// window, the desktop is asked; where it is on another window, nothing is
// done. Call it once the window has gone (hidden), not while it closes.
// Main thread only.
#pragma once

class QWidget;

namespace KeyboardReturn {

void toOpener(QWidget& opener);

}  // namespace KeyboardReturn
