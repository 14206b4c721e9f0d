#include "platform/ProcessEnd.h"

#include <unistd.h>

#include <thread>

namespace ProcessEnd {

void endWithin(std::chrono::milliseconds wait, int status) {
  std::thread([wait, status] {
    std::this_thread::sleep_for(wait);
    ::_exit(status);
  }).detach();
}

}  // namespace ProcessEnd
