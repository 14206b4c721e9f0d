// Gives a plain widget the role assistive technology should announce for it
// (a group of choices, a heading, a window) where Qt would call it a mere
// container, listing only the children it shows; leaves decorative widgets
// out of what it reads, and lets a widget's own accessible interface replace
// the one Qt may have made for it while the widget was being built. Main
// thread only.
#pragma once

#include <QAccessible>

class QWidget;

// A label given a role keeps its text as its name; a button (a link) keeps
// its text as its name and its press action.
void setAccessibleRole(QWidget& widget, QAccessible::Role role);

// Leaves the widget (a decorative picture) out of the children its parent
// lists. The parent must be a plain container or have been given a role: its
// interface becomes one of the role it has.
void hideFromAccessibility(QWidget& widget);

// Drops the interface made for the widget so far: the next request goes
// through the installed factories again.
void forgetAccessibleInterface(QWidget& widget);
