// The boundary guard of every export: nothing but a status code and a buffer
// crosses back to the caller. A caught exception becomes code 2 with its text
// as raw UTF-8 ("Unknown panic!" when it carries none); the declared error of
// plan_trash becomes code 1 with the serialised violation.
#pragma once

#include <exception>
#include <string_view>
#include <type_traits>

#include "quelmaris_ffi.h"

namespace quelmaris::ffi {

void report_failure(CoreCallStatus* status, std::string_view message) noexcept;
void report_declared_error(CoreCallStatus* status, CoreBuffer error) noexcept;

template <class Body>
auto guarded(CoreCallStatus* status, Body&& body) noexcept -> decltype(body()) {
  using Result = decltype(body());
  try {
    return body();
  } catch (const std::exception& e) {
    report_failure(status, e.what());
  } catch (...) {
    report_failure(status, "Unknown panic!");
  }
  if constexpr (!std::is_void_v<Result>) return Result{};
}

}  // namespace quelmaris::ffi
