// Appends values in the interface's byte form to one growing array:
// big-endian integers, texts and sequences with an i32 length prefix.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class ByteWriter {
 public:
  void writeU8(std::uint8_t value) { bytes_.append(static_cast<char>(value)); }
  void writeBool(bool value) { writeU8(value ? 1 : 0); }
  void writeI32(std::int32_t value) { writeU32(static_cast<std::uint32_t>(value)); }
  void writeU32(std::uint32_t value);
  void writeI64(std::int64_t value) { writeU64(static_cast<std::uint64_t>(value)); }
  void writeU64(std::uint64_t value);
  void writeText(const QString& text);
  // The i32 count or length before a sequence or a text; larger amounts
  // cannot be sent, and trying to is a programming error.
  void writeLength(qsizetype length);

  const QByteArray& bytes() const { return bytes_; }

 private:
  QByteArray bytes_;
};
