// Reads values in the interface's byte form from one buffer, leniently: any
// non-zero bool byte is true and invalid UTF-8 becomes U+FFFD. Every failure
// raises UniffiInternalError (bufferOverflow, incompleteData).
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t length) : data_(data), length_(length) {}

  std::uint8_t readU8();
  bool readBool() { return readU8() != 0; }
  std::int32_t readI32() { return static_cast<std::int32_t>(readU32()); }
  std::uint32_t readU32();
  std::int64_t readI64() { return static_cast<std::int64_t>(readU64()); }
  std::uint64_t readU64();
  QString readText();
  // The i32 count before a sequence; a negative count cannot be met by any
  // buffer and reads as too few bytes.
  std::int32_t readCount();

  std::size_t remaining() const { return length_ - position_; }
  // Top level: the value must have used every byte.
  void expectEnd() const;

 private:
  const std::uint8_t* take(std::size_t count);

  const std::uint8_t* data_;
  std::size_t length_;
  std::size_t position_ = 0;
};
