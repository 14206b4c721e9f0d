#include "counted.hpp"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace quelmaris::ffi {

void check_counted_handle(std::uint64_t handle) {
  if (handle == 0 || handle % kCountedAlignment != 0) {
    throw std::invalid_argument("invalid handle " + std::to_string(handle));
  }
}

void retain_counted(std::uint64_t handle) noexcept {
  const std::uint64_t before = detail::counts_of(handle).strong.fetch_add(1, std::memory_order_relaxed);
  if (before > static_cast<std::uint64_t>(INT64_MAX)) std::abort();
}

std::uint64_t strong_count(std::uint64_t handle) noexcept {
  return detail::counts_of(handle).strong.load(std::memory_order_relaxed);
}

namespace detail {

void* allocate_counted(std::size_t value_size) {
  return ::operator new (sizeof(RefCounts) + value_size, std::align_val_t{kCountedAlignment});
}

void free_counted(RefCounts& counts) noexcept {
  void* raw = &counts;
  counts.~RefCounts();
  ::operator delete (raw, std::align_val_t{kCountedAlignment});
}

}  // namespace detail
}  // namespace quelmaris::ffi
