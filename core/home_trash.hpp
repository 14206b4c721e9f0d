// Where this user's home Trash is, after the freedesktop.org Trash standard.
// Header-only and free of the core's types, so that the application's Trash
// and the walk, which leaves that folder out, read the environment alike.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace quelmaris {

// $XDG_DATA_HOME/Trash when that variable is an absolute path, else
// $HOME/.local/share/Trash; absent when neither names an absolute folder.
inline std::optional<std::string> home_trash_path() {
  const auto below = [](std::string folder, std::string_view rest) {
    if (!folder.ends_with('/')) folder += '/';
    return folder.append(rest);
  };
  if (const char* data_home = std::getenv("XDG_DATA_HOME"); data_home != nullptr && data_home[0] == '/')
    return below(data_home, "Trash");
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
    return below(home, ".local/share/Trash");
  return std::nullopt;
}

}  // namespace quelmaris
