// Counted objects whose handle is the address of their value: a strong and a
// weak count (atomic u64) lie immediately before the value, so a handle is
// an even number and any counted object can be cloned through it alone.
// Increments are relaxed; decrements release, with an acquire fence before
// the value is destroyed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace quelmaris::ffi {

struct RefCounts {
  std::atomic<std::uint64_t> strong{1};
  std::atomic<std::uint64_t> weak{1};
};

inline constexpr std::size_t kCountedAlignment = 16;
static_assert(sizeof(RefCounts) == kCountedAlignment);

// Throws std::invalid_argument for a handle that cannot name a counted
// object (zero, odd or misaligned). A freed handle cannot be told apart.
void check_counted_handle(std::uint64_t handle);

// Adds a strong reference; stops the process when the count would pass 2^63 - 1.
void retain_counted(std::uint64_t handle) noexcept;
std::uint64_t strong_count(std::uint64_t handle) noexcept;

namespace detail {
inline RefCounts& counts_of(std::uint64_t handle) noexcept {
  return *std::launder(reinterpret_cast<RefCounts*>(handle - sizeof(RefCounts)));
}
void* allocate_counted(std::size_t value_size);
void free_counted(RefCounts& counts) noexcept;
}  // namespace detail

template <class T, class... Args>
std::uint64_t make_counted(Args&&... args) {
  static_assert(alignof(T) <= kCountedAlignment);
  void* raw = detail::allocate_counted(sizeof(T));
  auto* counts = new (raw) RefCounts{};
  try {
    T* value = new (static_cast<std::byte*>(raw) + sizeof(RefCounts)) T(std::forward<Args>(args)...);
    return reinterpret_cast<std::uint64_t>(value);
  } catch (...) {
    detail::free_counted(*counts);
    throw;
  }
}

template <class T>
T& counted_value(std::uint64_t handle) noexcept {
  return *std::launder(reinterpret_cast<T*>(handle));
}

template <class T>
void release_counted(std::uint64_t handle) noexcept {
  RefCounts& counts = detail::counts_of(handle);
  if (counts.strong.fetch_sub(1, std::memory_order_release) != 1) return;
  std::atomic_thread_fence(std::memory_order_acquire);
  counted_value<T>(handle).~T();
  if (counts.weak.fetch_sub(1, std::memory_order_release) != 1) return;
  std::atomic_thread_fence(std::memory_order_acquire);
  detail::free_counted(counts);
}

}  // namespace quelmaris::ffi
