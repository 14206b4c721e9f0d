// Reading the serialised and flag arguments of an export. A value that does
// not read fails the call with "Failed to convert arg '<name>':" and the
// reader's reason on the next line; the operation's body does not run.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "core_buffer.hpp"
#include "value_form.hpp"

namespace quelmaris::ffi {

std::runtime_error conversion_error(std::string_view name, std::string_view reason);

template <class T>
T lift_arg(const BufferArg& arg, std::string_view name) {
  const auto bytes = arg.bytes();
  try {
    return lift<T>(bytes);
  } catch (const ReadError& e) {
    throw conversion_error(name, e.what());
  }
}

bool lift_flag(std::int8_t value, std::string_view name);

}  // namespace quelmaris::ffi
