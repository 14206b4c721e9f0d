// The "File" menu: "Add Folder…" (Ctrl+O), which runs the open dialog that
// adds folders to the list, and the desktop's Quit. Main thread only.
#pragma once

#include <functional>

class QMenuBar;

void buildFileMenu(QMenuBar& bar, std::function<void()> chooseFolders);
