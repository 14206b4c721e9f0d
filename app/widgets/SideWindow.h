// What the application's side windows (Settings, About) share on this
// desktop: Escape and Ctrl+W close them, and assistive technology announces
// each as a window or a dialog named by its title, not as a mere container.
// Main thread only.
#pragma once

#include <QAccessible>

class QWidget;

namespace SideWindow {

// For a top-level widget; role is QAccessible::Window or QAccessible::Dialog.
void setUp(QWidget& window, QAccessible::Role role);

}  // namespace SideWindow
