// Gives a plain widget the role assistive technology should announce for it
// (a group of choices, say) where Qt would call it a mere container, and lets
// a widget's own accessible interface replace the one Qt may have made for it
// while the widget was being built. Main thread only.
#pragma once

#include <QAccessible>

class QWidget;

void setAccessibleRole(QWidget& widget, QAccessible::Role role);

// Drops the interface made for the widget so far: the next request goes
// through the installed factories again.
void forgetAccessibleInterface(QWidget& widget);
