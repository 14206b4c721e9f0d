// The "Edit" menu, ending with a separator and "Settings…" (Ctrl+,), which
// opens the settings window. Main thread only.
#pragma once

#include <functional>

class QMenu;
class QMenuBar;

QMenu* buildEditMenu(QMenuBar& bar, std::function<void()> showSettings);
