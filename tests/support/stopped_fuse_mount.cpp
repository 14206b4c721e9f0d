#include "stopped_fuse_mount.hpp"

#include <signal.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <utility>

namespace quelmaris::testing {

namespace {

using namespace std::chrono_literals;

// Far longer than a thread that does not wait on the mount takes to answer.
constexpr auto kWatchdogDeadline = 30s;
constexpr auto kMountDeadline = 60s;

bool listedInMountTable(const std::string& mountPoint) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  while (std::getline(table, line))
    if (line.find(' ' + mountPoint + ' ') != std::string::npos) return true;
  return false;
}

// SIGSTOP takes effect asynchronously: a request sent before the server is
// seen stopped could still be answered.
void waitUntilStopped(pid_t server) {
  for (int wait = 0; wait < 1000; ++wait) {
    std::ifstream stat("/proc/" + std::to_string(server) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto name = line.rfind(')');
    if (name != std::string::npos && line.compare(name, 3, ") T") == 0) return;
    std::this_thread::sleep_for(1ms);
  }
}

}  // namespace

StoppedFuseMount::StoppedFuseMount(const std::string& served, std::string mountPoint)
    : mountPoint_(std::move(mountPoint)) {
  if (::access("/dev/fuse", R_OK | W_OK) != 0 || ::access("/usr/bin/bindfs", X_OK) != 0) return;
  server_ = ::fork();
  if (server_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    ::execl("/usr/bin/bindfs", "bindfs", "-f", "-o", "entry_timeout=0,attr_timeout=0,negative_timeout=0",
            served.c_str(), mountPoint_.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (server_ > 0 && !waitUntilMounted()) {
    ::kill(server_, SIGKILL);
    ::waitpid(server_, nullptr, 0);
    server_ = -1;
  }
}

bool StoppedFuseMount::waitUntilMounted() const {
  const auto deadline = std::chrono::steady_clock::now() + kMountDeadline;
  while (std::chrono::steady_clock::now() < deadline) {
    if (listedInMountTable(mountPoint_)) return true;
    if (::waitpid(server_, nullptr, WNOHANG) == server_) return false;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

StoppedFuseMount::~StoppedFuseMount() {
  resume();
  if (watchdog_.joinable()) watchdog_.join();
  if (!mounted()) return;
  ::umount2(mountPoint_.c_str(), MNT_DETACH);
  ::kill(server_, SIGTERM);
  ::waitpid(server_, nullptr, 0);
}

void StoppedFuseMount::stop() {
  if (!mounted() || stopped_) return;
  if (watchdog_.joinable()) watchdog_.join();
  ::kill(server_, SIGSTOP);
  waitUntilStopped(server_);
  stopped_ = true;
  watchdog_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    if (!resumed_.wait_for(lock, kWatchdogDeadline, [this] { return !stopped_; })) {
      lock.unlock();
      resume();
    }
  });
}

void StoppedFuseMount::resume() {
  if (!mounted()) return;
  {
    const std::lock_guard lock(mutex_);
    stopped_ = false;
  }
  ::kill(server_, SIGCONT);
  resumed_.notify_all();
}

}  // namespace quelmaris::testing
