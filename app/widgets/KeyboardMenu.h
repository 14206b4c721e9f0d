// Menus that open from the keyboard as a menu bar's do. A menu opened with
// no mouse button held (Space on its button, a shortcut, an assistive
// tool's press) opens with its first item current, so that a screen reader
// speaks it at once and Return chooses it; opened with the mouse, no item is
// current until the pointer is on one. Main thread only.
#pragma once

class QMenu;

namespace KeyboardMenu {

void startAtFirstItem(QMenu& menu);

}  // namespace KeyboardMenu
