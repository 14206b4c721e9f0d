#include "file_facts.hpp"

#include <cerrno>

namespace quelmaris {

SkipReason skip_reason_for_errno(int error_number) {
  switch (error_number) {
    case EACCES:
    case EPERM:
      return {SkipReason::Permission{}};
    case EDEADLK:
      return {SkipReason::Dataless{}};
    default:
      return {SkipReason::Io{error_number}};
  }
}

}  // namespace quelmaris
