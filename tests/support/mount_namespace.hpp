// Runs a test body where it may bind-mount folders without touching the
// host: a forked child in a private mount namespace.
#pragma once

#include <functional>

namespace quelmaris::testing {

// Exit status when this machine cannot give the child a mount namespace.
inline constexpr int kNoMountNamespace = 96;
// Exit status when the body threw.
inline constexpr int kThrew = 97;

// Returns the child's exit status (0 on success) or kNoMountNamespace.
int run_in_private_mount_namespace(const std::function<int()>& body);

}  // namespace quelmaris::testing
