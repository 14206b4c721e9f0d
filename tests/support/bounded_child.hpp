// Runs a test body that could hang or grow without end on a fault (a read
// that blocks, a read that never ends) in a forked child, killed when it has
// not finished within the given time, so that the fault fails the test
// instead of stopping the test program or the machine.
#pragma once

#include <functional>

namespace quelmaris::testing {

// Exit status when the child was killed or died of a signal.
inline constexpr int kKilled = 94;

// The body's exit status, or kKilled.
int run_in_bounded_child(unsigned seconds, const std::function<int()>& body);

}  // namespace quelmaris::testing
