#include "bounded_child.hpp"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace quelmaris::testing {

int run_in_bounded_child(unsigned seconds, const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    ::alarm(seconds);
#if !defined(__SANITIZE_ADDRESS__)
    // A read without end stops at a few GiB instead of the machine's memory
    // (address sanitizer reserves far more address space than that itself).
    const rlimit memory{rlim_t{4} << 30, rlim_t{4} << 30};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    try {
      ::_exit(body());
    } catch (const std::exception& error) {
      std::fprintf(stderr, "exception in the child: %s\n", error.what());
    } catch (...) {
    }
    ::_exit(kKilled);
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : kKilled;
}

}  // namespace quelmaris::testing
