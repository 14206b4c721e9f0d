#include "interface/ByteReader.h"

#include "interface/UniffiInternalError.h"

std::uint8_t ByteReader::readU8() { return *take(1); }

std::uint32_t ByteReader::readU32() {
  const std::uint8_t* bytes = take(4);
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | bytes[i];
  return value;
}

std::uint64_t ByteReader::readU64() {
  const std::uint8_t* bytes = take(8);
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | bytes[i];
  return value;
}

QString ByteReader::readText() {
  const std::int32_t length = readCount();
  const auto* bytes = reinterpret_cast<const char*>(take(static_cast<std::size_t>(length)));
  return QString::fromUtf8(bytes, length);
}

std::int32_t ByteReader::readCount() {
  const std::int32_t count = readI32();
  if (count < 0) throw UniffiInternalError(UniffiInternalError::Case::bufferOverflow);
  return count;
}

void ByteReader::expectEnd() const {
  if (position_ != length_) throw UniffiInternalError(UniffiInternalError::Case::incompleteData);
}

const std::uint8_t* ByteReader::take(std::size_t count) {
  if (count > remaining()) throw UniffiInternalError(UniffiInternalError::Case::bufferOverflow);
  const std::uint8_t* start = data_ + position_;
  position_ += count;
  return start;
}
