// The end of the process once the application has quit. Work off the main
// thread that may reach what the process shares (Qt's readers, a function's
// static table) holds off the exit handlers, which destroy that, until it
// has ended: the end is announced, long work stops at its next step between
// two files, and the exit handlers run once no such work is left. Work held
// for good in the kernel by a file system that stopped answering gets a few
// seconds; the process then ends at once with its status, with nothing
// destroyed under that work. Nothing the user keeps is lost by that: the
// folder list and the settings are written when they change. Any thread.
#pragma once

#include <chrono>
#include <memory>

namespace ProcessEnd {

inline constexpr std::chrono::seconds grace{3};

// Taken when a piece of work is handed to a thread, kept until it has ended;
// copies share it. Empty once the end has been announced: such work must not
// start then.
class Hold {
 public:
  static Hold take();
  explicit operator bool() const { return held_ != nullptr; }

 private:
  struct Held;
  std::shared_ptr<const Held> held_;
};

// The end has been announced: long work stops at its next step between two files.
bool announced();

// Call once, as the event loop has returned: announces the end and waits for
// the holds. Returns when all have ended within `wait`, the rest of the end
// (the windows' and stores' teardown, the exit handlers) bounded by what is
// left of it; otherwise ends the process at once with the given status.
void endWithin(std::chrono::milliseconds wait, int status);

}  // namespace ProcessEnd
