#include "stopped_mount.hpp"

#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace quelmaris::testing {

namespace {

bool listsMountPoint(const std::string& top) {
  std::ifstream table("/proc/self/mountinfo");
  for (std::string line; std::getline(table, line);)
    if (line.find(" " + top + " ") != std::string::npos) return true;
  return false;
}

}  // namespace

StoppedMount::StoppedMount(const std::string& served, std::string top) : top_(std::move(top)) {
  if (::access("/dev/fuse", R_OK | W_OK) != 0) return;
  const pid_t pid = ::fork();
  if (pid < 0) return;
  if (pid == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::execlp("bindfs", "bindfs", "-f", "-o", "attr_timeout=0,entry_timeout=0,negative_timeout=0", served.c_str(),
             top_.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  for (int wait = 0; wait < 1000; ++wait) {
    if (listsMountPoint(top_)) {
      server_ = pid;
      return;
    }
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

StoppedMount::~StoppedMount() {
  if (server_ <= 0) return;
  resume();
  ::umount2(top_.c_str(), MNT_DETACH);
  ::kill(server_, SIGTERM);
  ::waitpid(server_, nullptr, 0);
}

// Returns once the server has stopped: the state after the name in its stat line reads "T".
void StoppedMount::stop() {
  ::kill(server_, SIGSTOP);
  for (int wait = 0; wait < 1000; ++wait) {
    std::ifstream stat("/proc/" + std::to_string(server_) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto name = line.rfind(')');
    if (name != std::string::npos && line.compare(name, 3, ") T") == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void StoppedMount::resume() { ::kill(server_, SIGCONT); }

}  // namespace quelmaris::testing
