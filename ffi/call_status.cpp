#include "call_status.hpp"

#include "core_buffer.hpp"

namespace quelmaris::ffi {

void report_failure(CoreCallStatus* status, std::string_view message) noexcept {
  status->code = 2;
  try {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(message.data());
    status->errorBuf = copy_to_buffer({bytes, message.size()});
  } catch (...) {
    // Out of memory even for the message: the code alone must do.
    status->errorBuf = CoreBuffer{0, 0, nullptr};
  }
}

void report_declared_error(CoreCallStatus* status, CoreBuffer error) noexcept {
  status->code = 1;
  status->errorBuf = error;
}

}  // namespace quelmaris::ffi
