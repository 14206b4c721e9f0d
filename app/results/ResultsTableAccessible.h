// The results table as assistive technology reads it. Qt's own interface for
// a tree view makes every cell a tree item whose one action selects a row
// (under a set, the wrong one) and cannot tell that a copy's Name cell holds
// its mark. Here a copy's Name cell is that mark: a check box named "Select
// <name> in <folder>", checkable, checked while the copy is marked, disabled
// where it cannot be marked, whose toggle marks or unmarks that copy alone,
// and which announces a change of those states. Every other cell reads as
// Qt's do. Cells are numbered as the tree view numbers them in its events:
// the header first, then the shown rows top to bottom, column by column.
// Main thread only.
#pragma once

class ResultsTable;

namespace ResultsTableAccessible {

// For the table, once it has its model.
void install(ResultsTable& table);
// Tells assistive technology that the table's current cell holds the
// keyboard, as moving onto it does; nothing while the table has no focus or
// no current cell.
void announceCurrent(ResultsTable& table);

}  // namespace ResultsTableAccessible
