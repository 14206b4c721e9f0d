// The "Edit" menu: Undo (Ctrl+Z) from the window's undo stack, reading
// "Undo Move to Trash" after a move; the mark toggle (Ctrl+Return), "Keep
// This Copy", "Select All Copies", "Select Copies Outside Folder 1",
// "Deselect All"; and "Filter…" (Ctrl+F). Main thread only.
#pragma once

class QMenu;
class QMenuBar;
class QUndoStack;
class ResultsCommands;

QMenu* buildEditMenu(QMenuBar& bar, const ResultsCommands& commands, QUndoStack& undoStack);
