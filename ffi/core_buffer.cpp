#include "core_buffer.hpp"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace quelmaris::ffi {

namespace {

// No serialised value may be longer than the largest i32, so neither may a
// buffer the application asks for.
void check_requested_size(std::uint64_t size) {
  if (size > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("CoreBuffer requested size too large");
}

// malloc(0) may give null, and a buffer handed out must not: allocate a byte.
std::uint8_t* allocate_bytes(std::uint64_t size, bool zeroed) {
  const std::size_t n = size == 0 ? 1 : static_cast<std::size_t>(size);
  void* data = zeroed ? std::calloc(n, 1) : std::malloc(n);
  if (data == nullptr) throw std::bad_alloc();
  return static_cast<std::uint8_t*>(data);
}

bool well_formed(const CoreBuffer& buffer) {
  if (buffer.len > buffer.capacity) return false;
  return buffer.data != nullptr || buffer.capacity == 0;
}

}  // namespace

void check_buffer(const CoreBuffer& buffer) {
  if (buffer.len > buffer.capacity) throw std::invalid_argument("CoreBuffer length exceeds capacity");
  if (buffer.data == nullptr && buffer.capacity != 0)
    throw std::invalid_argument("null CoreBuffer had non-zero capacity");
}

std::span<const std::uint8_t> bytes_of(const CoreBuffer& buffer) {
  check_buffer(buffer);
  if (buffer.len == 0) return {};
  return {buffer.data, static_cast<std::size_t>(buffer.len)};
}

CoreBuffer allocate_buffer(std::uint64_t size) {
  check_requested_size(size);
  return CoreBuffer{size, size, allocate_bytes(size, true)};
}

CoreBuffer copy_to_buffer(std::span<const std::uint8_t> bytes) {
  CoreBuffer buffer{bytes.size(), bytes.size(), allocate_bytes(bytes.size(), false)};
  if (!bytes.empty()) std::memcpy(buffer.data, bytes.data(), bytes.size());
  return buffer;
}

void free_buffer(const CoreBuffer& buffer) {
  check_buffer(buffer);
  std::free(buffer.data);
}

BufferArg::~BufferArg() {
  if (well_formed(buffer_)) std::free(buffer_.data);
}

CoreBuffer BufferArg::release_reserved(std::uint64_t additional) {
  check_buffer(buffer_);
  if (additional > std::numeric_limits<std::uint64_t>::max() - buffer_.len) check_requested_size(additional);
  const std::uint64_t wanted = buffer_.len + additional;
  if (wanted > buffer_.capacity) {
    check_requested_size(wanted);
    void* grown = std::realloc(buffer_.data, static_cast<std::size_t>(wanted));
    if (grown == nullptr) throw std::bad_alloc();
    buffer_.data = static_cast<std::uint8_t*>(grown);
    buffer_.capacity = wanted;
  }
  const CoreBuffer out = buffer_;
  buffer_ = CoreBuffer{0, 0, nullptr};
  return out;
}

}  // namespace quelmaris::ffi
