#include "platform/io_policy.hpp"

namespace quelmaris::platform {

namespace {
thread_local bool avoids_atime = false;
}

void set_thread_avoids_atime(bool on) { avoids_atime = on; }
bool thread_avoids_atime() { return avoids_atime; }

}  // namespace quelmaris::platform
