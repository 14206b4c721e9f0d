// A display of its own with a window manager on it: Xvfb on a free display
// number and openbox managing its windows, for tests of what the desktop does
// with the keyboard as windows come and go.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "child_process.hpp"

namespace apptest {

class WindowManagerDisplay {
 public:
  // Whether both programs are installed.
  static bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty();
  }

  // Starts both and waits until openbox manages the screen; sets DISPLAY.
  WindowManagerDisplay() {
    const std::string number =
        spawnReporting(server_, {"Xvfb", "-displayfd", "{fd}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    if (number.empty()) throw std::runtime_error("Xvfb gave no display number");
    setenv("DISPLAY", (":" + number).c_str(), 1);

    // openbox runs its start-up command once it manages the screen; the
    // command writes into a pipe with a name, which the test reads.
    const std::string ready = folder_.filePath(QStringLiteral("ready")).toStdString();
    if (mkfifo(ready.c_str(), 0600) != 0) throw std::runtime_error("no fifo");
    const int waiting = open(ready.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    manager_ = ChildProcess({"openbox", "--sm-disable", "--startup", "sh -c 'echo ready > \"" + ready + "\"'"});
    const std::string said = readLine(waiting);
    close(waiting);
    if (said != "ready") throw std::runtime_error("openbox did not start");
  }

 private:
  QTemporaryDir folder_;
  // The manager ends before the display it manages.
  ChildProcess server_, manager_;
};

}  // namespace apptest
