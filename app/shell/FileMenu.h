// The "File" menu: "Add Folder…" (Ctrl+O), which runs the open dialog that
// adds folders to the list; the results' "Show in Finder", "Quick Look"
// (Ctrl+Y) and "Move to Trash…" (Ctrl+Backspace); the sidebar's "Remove from
// List"; and the desktop's Quit. Main thread only.
#pragma once

#include <functional>

class QMenuBar;
class ResultsCommands;

void buildFileMenu(QMenuBar& bar, std::function<void()> chooseFolders, const ResultsCommands& commands);
