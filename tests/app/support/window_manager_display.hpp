// A display of its own with a window manager on it: Xvfb on a free display
// number and openbox managing its windows, for tests of what the desktop does
// with the keyboard as windows come and go. Both end with the object, or with
// the test program when it dies first.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

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
    int numbered[2];
    if (pipe(numbered) != 0) throw std::runtime_error("no pipe");
    server_ = spawn({"Xvfb", "-displayfd", std::to_string(numbered[1]), "-screen", "0", "1280x1024x24", "-nolisten",
                     "tcp"},
                    numbered[0]);
    close(numbered[1]);
    const std::string number = readLine(numbered[0]);
    close(numbered[0]);
    if (number.empty()) throw std::runtime_error("Xvfb gave no display number");
    setenv("DISPLAY", (":" + number).c_str(), 1);

    // openbox runs its start-up command once it manages the screen; the
    // command writes into a pipe with a name that the test reads.
    const std::string ready = folder_.filePath(QStringLiteral("ready")).toStdString();
    if (mkfifo(ready.c_str(), 0600) != 0) throw std::runtime_error("no fifo");
    const int waiting = open(ready.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    manager_ = spawn({"openbox", "--sm-disable", "--startup", "sh -c 'echo ready > \"" + ready + "\"'"}, -1);
    const std::string said = readLine(waiting);
    close(waiting);
    if (said != "ready") throw std::runtime_error("openbox did not start");
  }
  ~WindowManagerDisplay() {
    for (const pid_t child : {manager_, server_}) {
      if (child <= 0) continue;
      kill(child, SIGTERM);
      waitpid(child, nullptr, 0);
    }
  }
  WindowManagerDisplay(const WindowManagerDisplay&) = delete;
  WindowManagerDisplay& operator=(const WindowManagerDisplay&) = delete;

 private:
  static pid_t spawn(const std::vector<std::string>& command, int unused) {
    const pid_t child = fork();
    if (child != 0) return child;
    if (unused >= 0) close(unused);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  // A line from the descriptor, without its end; empty when the writer
  // closes it first or says nothing for a minute.
  static std::string readLine(int from) {
    std::string line;
    for (;;) {
      pollfd readable{from, POLLIN, 0};
      if (poll(&readable, 1, 60'000) <= 0) return {};
      char c = 0;
      const ssize_t got = read(from, &c, 1);
      if (got < 0 && errno == EAGAIN) continue;
      if (got <= 0 || c == '\n') return line;
      line += c;
    }
  }

  QTemporaryDir folder_;
  pid_t server_ = -1, manager_ = -1;
};

}  // namespace apptest
