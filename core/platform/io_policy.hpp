// The I/O policy of a scan's pool threads: while a thread works for a scan it
// reads without updating access times. Linux has no per-thread switch, so the
// pool's start hook sets this thread-local flag and the readers ask for
// O_NOATIME when it is set (retrying without it where the kernel refuses).
#pragma once

namespace quelmaris::platform {

void set_thread_avoids_atime(bool on);
bool thread_avoids_atime();

}  // namespace quelmaris::platform
