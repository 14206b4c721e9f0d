// The user's folders for the files the application keeps, by the XDG base
// directory rules: $XDG_DATA_HOME, $XDG_CONFIG_HOME and $XDG_CACHE_HOME when
// they hold an absolute path (a relative one is ignored, as those rules ask),
// else ~/.local/share, ~/.config and ~/.cache. The home folder is $HOME when
// it holds an absolute path, else the account's home in the user database.
// Reentrant; the environment is read at every call.
#pragma once

#include <QString>

namespace UserFolders {

QString dataHome();
QString configHome();
QString cacheHome();

}  // namespace UserFolders
