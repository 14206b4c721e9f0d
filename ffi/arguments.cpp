#include "arguments.hpp"

#include <string>

namespace quelmaris::ffi {

std::runtime_error conversion_error(std::string_view name, std::string_view reason) {
  std::string message = "Failed to convert arg '";
  message.append(name).append("':\n").append(reason);
  return std::runtime_error(message);
}

bool lift_flag(std::int8_t value, std::string_view name) {
  if (value != 0 && value != 1) throw conversion_error(name, "unexpected byte for Boolean");
  return value == 1;
}

}  // namespace quelmaris::ffi
