// The byte buffers that carry serialised values across the call interface.
// Their bytes come from malloc and go back with free; every buffer the core
// hands out has non-null data, also when it is empty. A malformed buffer
// (length above capacity, null data with a non-zero length or capacity) is
// reported by throwing std::invalid_argument and is never freed.
#pragma once

#include <cstdint>
#include <span>

#include "quelmaris_ffi.h"

namespace quelmaris::ffi {

void check_buffer(const CoreBuffer& buffer);
std::span<const std::uint8_t> bytes_of(const CoreBuffer& buffer);

// A zero-filled buffer with len and capacity both `size`; at most the
// largest i32, like every serialised value.
CoreBuffer allocate_buffer(std::uint64_t size);
CoreBuffer copy_to_buffer(std::span<const std::uint8_t> bytes);
// Checks the buffer, then frees its bytes.
void free_buffer(const CoreBuffer& buffer);

// A buffer handed to the core as an argument: the core owns it from the call
// on, and frees it when this goes, whatever happened in between.
class BufferArg {
 public:
  explicit BufferArg(CoreBuffer buffer) noexcept : buffer_(buffer) {}
  ~BufferArg();
  BufferArg(const BufferArg&) = delete;
  BufferArg& operator=(const BufferArg&) = delete;

  std::span<const std::uint8_t> bytes() const { return bytes_of(buffer_); }
  // Grows the buffer to room for `additional` more bytes (up to the largest
  // i32 in all) and hands it back.
  CoreBuffer release_reserved(std::uint64_t additional);

 private:
  CoreBuffer buffer_;
};

}  // namespace quelmaris::ffi
