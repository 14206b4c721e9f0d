// Runs a test body in a forked child and returns its exit status, so that
// what the body does to the process (mounts, limits, a hang ended by an
// alarm) stays there. An exception must not reach the test framework in the
// child, which would run the rest of the program's tests a second time: it
// ends the child with the status `threw`; a child ended by a signal gives
// `signalled`.
#pragma once

#include <functional>

namespace quelmaris::testing {

int run_in_forked_child(const std::function<int()>& body, int threw, int signalled);

}  // namespace quelmaris::testing
