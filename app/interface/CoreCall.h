// The application's side of one call into the core: turning an argument into
// a core buffer, reading and freeing a result buffer, and reading the call
// status. Failures raise UniffiInternalError; callOrStop turns them into the
// fatal error that every operation but planTrash makes of them.
#pragma once

#include <quelmaris_ffi.h>

#include <QByteArray>
#include <QString>
#include <functional>
#include <type_traits>

#include "interface/ByteReader.h"
#include "interface/ByteWriter.h"
#include "interface/Fatal.h"
#include "interface/UniffiInternalError.h"
#include "interface/ValueForm.h"

// Takes over a buffer the core handed out and frees it through the core once
// it is no longer needed, whether or not reading it succeeded.
class ReceivedBuffer {
 public:
  explicit ReceivedBuffer(CoreBuffer buffer) : buffer_(buffer) {}
  ~ReceivedBuffer();
  ReceivedBuffer(const ReceivedBuffer&) = delete;
  ReceivedBuffer& operator=(const ReceivedBuffer&) = delete;

  // Raises unexpectedNullPointer for a buffer that claims bytes but has none.
  ByteReader reader() const;

 private:
  CoreBuffer buffer_;
};

// Copies the bytes into a new buffer of the core's allocator.
CoreBuffer sendBytes(const QByteArray& bytes);

template <class T>
CoreBuffer lower(const T& value) {
  ByteWriter out;
  write(out, value);
  return sendBytes(out.bytes());
}

template <class T>
T lift(CoreBuffer buffer) {
  const ReceivedBuffer owned(buffer);
  ByteReader in = owned.reader();
  T value = read<T>(in);
  in.expectEnd();
  return value;
}

using DeclaredErrorReader = std::function<void(CoreBuffer errorBuf)>;

// Reacts to a filled-in status: returns on 0, raises on 1 and 2 (a code 1
// through readDeclared when the operation declares an error), stops the
// program on 3.
void uniffiCheckCallStatus(CoreCallStatus& status, const DeclaredErrorReader& readDeclared = {});

// Makes one call with a fresh status record and checks it.
template <class Call>
auto coreCall(Call&& call, const DeclaredErrorReader& readDeclared = {}) {
  CoreCallStatus status{0, CoreBuffer{0, 0, nullptr}};
  if constexpr (std::is_void_v<std::invoke_result_t<Call, CoreCallStatus*>>) {
    call(&status);
    uniffiCheckCallStatus(status, readDeclared);
  } else {
    auto result = call(&status);
    uniffiCheckCallStatus(status, readDeclared);
    return result;
  }
}

// Runs body; any UniffiInternalError it raises is a fatal programming error.
template <class Body>
auto callOrStop(Body&& body) {
  try {
    return body();
  } catch (const UniffiInternalError& error) {
    stopProgram(error.description());
  }
}
