// A folder served by bindfs whose server is then stopped (SIGSTOP): every
// request that reaches the mount waits in the kernel, as on a network volume
// whose server went away. Mount only in a private mount namespace
// (run_in_private_mount_namespace). The end lets the server go on, unmounts
// and ends it, also when the test failed; a server left behind dies with the
// process that started it.
#pragma once

#include <sys/types.h>

#include <string>

namespace quelmaris::testing {

class StoppedMount {
 public:
  // Serves the folder `served` at the folder `top`, answering at once:
  // nothing is cached, so that every later request reaches the server.
  StoppedMount(const std::string& served, std::string top);
  ~StoppedMount();
  StoppedMount(const StoppedMount&) = delete;
  StoppedMount& operator=(const StoppedMount&) = delete;

  bool mounted() const { return server_ > 0; }
  // From here on every request waits, until resume.
  void stop();
  void resume();

 private:
  std::string top_;
  pid_t server_ = -1;
};

}  // namespace quelmaris::testing
