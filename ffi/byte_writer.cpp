#include "byte_writer.hpp"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "core_buffer.hpp"

namespace quelmaris::ffi {

ByteWriter::~ByteWriter() { std::free(data_); }

std::uint8_t* ByteWriter::grow(std::size_t n) {
  if (capacity_ - size_ < n) {
    std::size_t wanted = capacity_ < 64 ? 64 : capacity_ * 2;
    while (wanted - size_ < n) wanted *= 2;
    void* grown = std::realloc(data_, wanted);
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<std::uint8_t*>(grown);
    capacity_ = wanted;
  }
  std::uint8_t* at = data_ + size_;
  size_ += n;
  return at;
}

void ByteWriter::put_big_endian(std::uint64_t v, std::size_t width) {
  std::uint8_t* at = grow(width);
  for (std::size_t i = 0; i < width; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * (width - 1 - i)));
}

void ByteWriter::length(std::size_t n) {
  if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("a text or sequence is too long for the call interface");
  i32(static_cast<std::int32_t>(n));
}

void ByteWriter::text(std::string_view s) {
  length(s.size());
  if (!s.empty()) std::memcpy(grow(s.size()), s.data(), s.size());
}

CoreBuffer ByteWriter::release() {
  if (data_ == nullptr) return allocate_buffer(0);
  const CoreBuffer buffer{capacity_, size_, data_};
  data_ = nullptr;
  size_ = capacity_ = 0;
  return buffer;
}

}  // namespace quelmaris::ffi
