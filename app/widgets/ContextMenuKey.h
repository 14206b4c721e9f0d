// Shift+F10 opens a widget's context menu as the Menu key does: the same
// keyboard context-menu event, at the place Qt gives the Menu key (in a list
// or a table, the current row). Main thread only.
#pragma once

class QWidget;

namespace ContextMenuKey {

// For the widget, as long as it lives.
void install(QWidget& widget);

}  // namespace ContextMenuKey
