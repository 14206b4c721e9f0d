#include "byte_reader.hpp"

#include <string>

#include "text.hpp"

namespace quelmaris::ffi {

const std::uint8_t* ByteReader::take(std::size_t n) {
  if (remaining() < n) {
    throw ReadError("not enough bytes remaining in buffer (" + std::to_string(remaining()) + " < " + std::to_string(n) +
                    ")");
  }
  const std::uint8_t* at = bytes_.data() + position_;
  position_ += n;
  return at;
}

std::uint64_t ByteReader::big_endian(std::size_t width) {
  const std::uint8_t* at = take(width);
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v = (v << 8) | at[i];
  return v;
}

bool ByteReader::boolean() {
  const std::uint8_t b = u8();
  if (b > 1) throw ReadError("unexpected byte for Boolean");
  return b == 1;
}

bool ByteReader::optional_present() {
  const std::uint8_t b = u8();
  if (b > 1) throw ReadError("unexpected tag byte for Option");
  return b == 1;
}

std::size_t ByteReader::length() {
  const std::int32_t n = i32();
  if (n < 0) throw ReadError("negative length or count: " + std::to_string(n));
  return static_cast<std::size_t>(n);
}

std::string ByteReader::text() {
  const std::size_t n = length();
  const auto* at = reinterpret_cast<const char*>(take(n));
  const std::string_view bytes(at, n);
  if (!text::is_valid_utf8(bytes)) throw ReadError("text is not valid UTF-8");
  return std::string(bytes);
}

std::size_t ByteReader::tag(std::size_t cases, std::string_view enum_name) {
  const std::int32_t t = i32();
  if (t < 1 || static_cast<std::size_t>(t) > cases) {
    throw ReadError("Invalid " + std::string(enum_name) + " enum value: " + std::to_string(t));
  }
  return static_cast<std::size_t>(t - 1);
}

void ByteReader::expect_end() const {
  if (remaining() != 0) {
    throw ReadError("junk data left in buffer after lifting (count: " + std::to_string(remaining()) + ")");
  }
}

}  // namespace quelmaris::ffi
