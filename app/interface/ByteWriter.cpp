#include "interface/ByteWriter.h"

#include <limits>

#include "interface/Fatal.h"

void ByteWriter::writeU32(std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) writeU8(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::writeU64(std::uint64_t value) {
  for (int shift = 56; shift >= 0; shift -= 8) writeU8(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::writeText(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  writeLength(utf8.size());
  bytes_.append(utf8);
}

void ByteWriter::writeLength(qsizetype length) {
  if (length > std::numeric_limits<std::int32_t>::max())
    stopProgram(QStringLiteral("A value too large for the call interface: %1 items or bytes").arg(length));
  writeI32(static_cast<std::int32_t>(length));
}
