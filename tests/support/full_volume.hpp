// A small tmpfs filled to the last byte, mounted in a private mount
// namespace: where writing a file's data fails with ENOSPC as on a full disk.
#pragma once

#include <functional>
#include <string>

namespace quelmaris::testing {

// Mounts a fresh tmpfs of a few pages at mount_point (an existing folder)
// in a forked child, runs before_full there, fills what space is left but
// free_pages pages (room for a lock file, say, but not for what follows) and
// returns body's exit status; kNoMountNamespace (mount_namespace.hpp) when
// the machine gives no mount namespace, and kNotFilled when the volume could
// not be filled.
int run_on_full_volume(const std::string& mount_point, const std::function<void()>& before_full,
                       const std::function<int()>& body, int free_pages = 0);

inline constexpr int kNotFilled = 95;

}  // namespace quelmaris::testing
