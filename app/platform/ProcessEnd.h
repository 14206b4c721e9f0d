// The end of the process once the application has quit. What is left (the
// windows' and stores' teardown, Qt's wait for its thread pools) gets a few
// seconds; a thread stuck in the kernel on a folder whose file system
// stopped answering would otherwise hold the process for good, so after the
// grace the process ends at once with the given status. Nothing the user
// keeps is lost by that: the folder list and the settings are written when
// they change.
#pragma once

#include <chrono>

namespace ProcessEnd {

inline constexpr std::chrono::seconds grace{3};

// Call once, as the event loop has returned.
void endWithin(std::chrono::milliseconds wait, int status);

}  // namespace ProcessEnd
