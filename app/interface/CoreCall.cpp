#include "interface/CoreCall.h"

#include "interface/Agreement.h"

namespace {

const QString corePanicWithoutMessage = QStringLiteral("The scanning core failed without a message");

// The text of a code-2 status, invalid UTF-8 repaired; the buffer is freed.
QString takeMessage(CoreBuffer errorBuf) {
  const ReceivedBuffer owned(errorBuf);
  if (errorBuf.data == nullptr) return {};
  return QString::fromUtf8(reinterpret_cast<const char*>(errorBuf.data), static_cast<qsizetype>(errorBuf.len));
}

}  // namespace

ReceivedBuffer::~ReceivedBuffer() {
  uniffiEnsureInitialized();
  CoreCallStatus status{0, CoreBuffer{0, 0, nullptr}};
  quelmaris_ffi_corebuffer_free(buffer_, &status);
  try {
    uniffiCheckCallStatus(status);
  } catch (const UniffiInternalError& error) {
    stopProgram(error.description());
  }
}

ByteReader ReceivedBuffer::reader() const {
  if (buffer_.data == nullptr && buffer_.len != 0)
    throw UniffiInternalError(UniffiInternalError::Case::unexpectedNullPointer);
  return ByteReader(buffer_.data, static_cast<std::size_t>(buffer_.len));
}

CoreBuffer sendBytes(const QByteArray& bytes) {
  uniffiEnsureInitialized();
  ByteWriter{}.writeLength(bytes.size());  // stops the program beyond the i32 range
  const ForeignBytes foreign{static_cast<std::int32_t>(bytes.size()),
                             reinterpret_cast<const std::uint8_t*>(bytes.constData())};
  return coreCall([&](CoreCallStatus* status) { return quelmaris_ffi_corebuffer_from_bytes(foreign, status); });
}

void uniffiCheckCallStatus(CoreCallStatus& status, const DeclaredErrorReader& readDeclared) {
  switch (status.code) {
    case 0:
      return;
    case 1:
      // The reader takes the buffer over and raises the declared error.
      if (readDeclared)
        readDeclared(status.errorBuf);
      else
        takeMessage(status.errorBuf);
      throw UniffiInternalError(UniffiInternalError::Case::unexpectedCoreCallError);
    case 2: {
      const bool hasMessage = status.errorBuf.len > 0;
      const QString message = takeMessage(status.errorBuf);
      throw UniffiInternalError::corePanic(hasMessage ? message : corePanicWithoutMessage);
    }
    case 3:
      stopProgram(QStringLiteral("Cancellation not supported yet"));
    default:
      throw UniffiInternalError(UniffiInternalError::Case::unexpectedCoreCallStatusCode);
  }
}
