// The "Help" menu: "About Quelmaris", which opens the About window, and
// "Check for Updates…", enabled only while the update service can start a
// check. The program offers no help item. Main thread only.
#pragma once

#include <functional>

class QMenuBar;
class UpdateService;

void buildHelpMenu(QMenuBar& bar, UpdateService& updates, std::function<void()> showAbout);
