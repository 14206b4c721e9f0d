// What the application object offers the main window's menus beyond the
// stores: the settings and About windows and the update service. A window
// given none of them (as in tests) has no "Settings…" item and no Help menu.
#pragma once

#include <functional>

class UpdateService;

struct ApplicationCommands {
  UpdateService* updates = nullptr;
  std::function<void()> showSettings;
  std::function<void()> showAbout;
};
