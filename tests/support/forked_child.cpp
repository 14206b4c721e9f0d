#include "forked_child.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace quelmaris::testing {

int run_in_forked_child(const std::function<int()>& body, int threw, int signalled) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    try {
      ::_exit(body());
    } catch (const std::exception& error) {
      std::fprintf(stderr, "exception in the child: %s\n", error.what());
    } catch (...) {
    }
    ::_exit(threw);
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : signalled;
}

}  // namespace quelmaris::testing
