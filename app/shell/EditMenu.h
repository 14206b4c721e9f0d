// The "Edit" menu: Undo (Ctrl+Z) from the window's undo stack, reading
// "Undo Move to Trash" after a move; the mark toggle (Ctrl+Return), "Keep
// This Copy", "Select All Copies", "Select Copies Outside Folder 1",
// "Deselect All"; "Filter…" (Ctrl+F); and, at its end, "Settings…" (Ctrl+,),
// which opens the settings window (none without that action). Main thread
// only.
#pragma once

#include <functional>

class QMenu;
class QMenuBar;
class QUndoStack;
class ResultsCommands;

QMenu* buildEditMenu(QMenuBar& bar, const ResultsCommands& commands, QUndoStack& undoStack,
                     std::function<void()> showSettings);
