#include "mount_namespace.hpp"

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include "forked_child.hpp"

namespace quelmaris::testing {

int run_in_private_mount_namespace(const std::function<int()>& body) {
  return run_in_forked_child(
      [&] {
        // Root needs only a new mount namespace; anyone else needs a user namespace too.
        if (::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return kNoMountNamespace;
        // Keep the child's mounts from propagating back to the host.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return kNoMountNamespace;
        return body();
      },
      kThrew, 98);
}

}  // namespace quelmaris::testing
