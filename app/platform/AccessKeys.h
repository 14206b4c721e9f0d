// Access keys for menu items, as every menu item has one on this desktop: the
// underlined letter that picks the item while its menu is open. Items whose
// text names no key get one each time their menu is about to show, so that
// texts translated or changed since (Select Copy, Hide Inspector) get one too:
// the first free initial of a word, else the first free letter or digit, free
// meaning that no other item of that menu uses it. Submenus get theirs the
// same way. Main thread only.
#pragma once

#include <QChar>

class QMenu;
class QMenuBar;
class QString;

namespace AccessKeys {

void give(QMenu& menu);
// Every menu of the bar as it stands.
void give(QMenuBar& bar);

// The text's access key, lower-case; a null character when it names none.
QChar of(const QString& text);

}  // namespace AccessKeys
