// Programs a test starts beside itself (a display server, a window manager,
// a message bus): each ends with its object, or with the test program when
// it dies first.
#pragma once

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace apptest {

class ChildProcess {
 public:
  ChildProcess() = default;
  // Runs the command with these variables added to the environment; the
  // descriptor `unused`, when not -1, is closed in the child.
  explicit ChildProcess(const std::vector<std::string>& command,
                        const std::vector<std::pair<std::string, std::string>>& environment = {}, int unused = -1)
      : pid_(fork()) {
    if (pid_ < 0) throw std::runtime_error("no process for " + command.front());
    if (pid_ > 0) return;
    if (unused >= 0) close(unused);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  ~ChildProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  ChildProcess(ChildProcess&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  ChildProcess& operator=(ChildProcess&& other) noexcept {
    std::swap(pid_, other.pid_);
    return *this;
  }

  // Waits for the program to end; whether it ended with status 0.
  bool succeeded() {
    int status = 0;
    const bool ended = waitpid(std::exchange(pid_, -1), &status, 0) > 0;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t pid_ = -1;
};

// A line from the descriptor, without its end; empty when the writer closes
// it first or says nothing for a minute.
inline std::string readLine(int from) {
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

// Runs the command that prints one line, its ready sign or its address,
// into the descriptor it is given in place of "{fd}"; the line printed.
inline std::string spawnReporting(ChildProcess& child, std::vector<std::string> command,
                                  const std::vector<std::pair<std::string, std::string>>& environment = {}) {
  int reported[2];
  if (pipe(reported) != 0) throw std::runtime_error("no pipe");
  for (std::string& word : command)
    if (const auto at = word.find("{fd}"); at != std::string::npos) word.replace(at, 4, std::to_string(reported[1]));
  child = ChildProcess(command, environment, reported[0]);
  close(reported[1]);
  std::string line = readLine(reported[0]);
  close(reported[0]);
  return line;
}

}  // namespace apptest
