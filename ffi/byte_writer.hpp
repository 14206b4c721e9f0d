// Appends values in the interface's byte form to one growing array:
// big-endian integers, bools as 0 or 1, texts and sequences behind an i32
// length. One writer per top-level value; its bytes become a CoreBuffer.
// A text or sequence longer than the largest i32 throws std::length_error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "quelmaris_ffi.h"

namespace quelmaris::ffi {

class ByteWriter {
 public:
  ByteWriter() = default;
  ~ByteWriter();
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  void u8(std::uint8_t v) { *grow(1) = v; }
  void u32(std::uint32_t v) { put_big_endian(v, 4); }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void u64(std::uint64_t v) { put_big_endian(v, 8); }
  void i64(std::int64_t v) { u64(static_cast<std::uint64_t>(v)); }
  void boolean(bool v) { u8(v ? 1 : 0); }
  void length(std::size_t n);
  void text(std::string_view s);

  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
  // Hands the bytes over as a buffer; the writer is empty afterwards.
  CoreBuffer release();

 private:
  std::uint8_t* grow(std::size_t n);
  void put_big_endian(std::uint64_t v, std::size_t width);

  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace quelmaris::ffi
