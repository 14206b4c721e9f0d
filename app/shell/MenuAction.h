// One menu command's action, as a view publishes it for the menu bar: a menu
// item given none is disabled. Performed on the main thread only.
#pragma once

#include <functional>

struct MenuAction {
  std::function<void()> perform;
};
