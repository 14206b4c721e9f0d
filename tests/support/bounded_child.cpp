#include "bounded_child.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include "forked_child.hpp"

namespace quelmaris::testing {

int run_in_bounded_child(unsigned seconds, const std::function<int()>& body) {
  return run_in_forked_child(
      [&] {
        ::alarm(seconds);
#if !defined(__SANITIZE_ADDRESS__)
        // A read without end stops at a few GiB instead of the machine's memory
        // (address sanitizer reserves far more address space than that itself).
        const rlimit memory{rlim_t{4} << 30, rlim_t{4} << 30};
        ::setrlimit(RLIMIT_AS, &memory);
#endif
        return body();
      },
      kKilled, kKilled);
}

}  // namespace quelmaris::testing
