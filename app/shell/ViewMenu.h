// The "View" menu: the "Show" options "Duplicates" and "Same Name, Different
// Content" as an exclusive checkable pair (hidden without results), the
// "Sort By" submenu (the six columns, then "Ascending" and "Descending"),
// then "Expand All Groups" and "Collapse All Groups", then "Hide Sidebar" or
// "Show Sidebar" (F9, as the desktop's file managers have it), which hides
// and shows the folder column, and "Hide Inspector" or "Show Inspector"
// (Ctrl+Alt+I). Main thread only.
#pragma once

class QMenu;
class QMenuBar;
class QWidget;
class ResultsCommands;

QMenu* buildViewMenu(QMenuBar& bar, const ResultsCommands& commands, QWidget& sidebar);
