// Reads values in the interface's byte form from a byte range, strictly: a
// bool or optional tag other than 0 or 1, an enum tag that names no case, a
// negative length, text that is not UTF-8 or too few bytes throw ReadError
// with the reason. Texts are copied out; nothing else is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quelmaris::ffi {

struct ReadError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t u8() { return *take(1); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(big_endian(4)); }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  std::uint64_t u64() { return big_endian(8); }
  std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
  bool boolean();
  // The tag of an optional: true when a value follows.
  bool optional_present();
  // A sequence's item count or a text's byte length.
  std::size_t length();
  std::string text();
  // An enum's tag, checked against its number of cases; returns the case's
  // position counted from 0.
  std::size_t tag(std::size_t cases, std::string_view enum_name);

  std::size_t remaining() const { return bytes_.size() - position_; }
  // A whole-buffer value must use every byte.
  void expect_end() const;

 private:
  const std::uint8_t* take(std::size_t n);
  std::uint64_t big_endian(std::size_t width);

  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace quelmaris::ffi
