#include "mount_namespace.hpp"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

namespace quelmaris::testing {

int run_in_private_mount_namespace(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    // Root needs only a new mount namespace; anyone else needs a user namespace too.
    if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) ::_exit(kNoMountNamespace);
    // Keep the child's mounts from propagating back to the host.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) ::_exit(kNoMountNamespace);
    // An exception must not reach the test framework in the child, which
    // would run the rest of the program's tests a second time.
    try {
      ::_exit(body());
    } catch (const std::exception& error) {
      std::fprintf(stderr, "exception in the mount namespace: %s\n", error.what());
    } catch (...) {
    }
    ::_exit(kThrew);
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace quelmaris::testing
