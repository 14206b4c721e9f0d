#include "interface/UniffiInternalError.h"

namespace {

QString describe(UniffiInternalError::Case which) {
  using enum UniffiInternalError::Case;
  switch (which) {
    case bufferOverflow:
      return QStringLiteral("Reading the requested value would read past the end of the buffer");
    case incompleteData:
      return QStringLiteral("The buffer still has data after lifting its containing value");
    case unexpectedOptionalTag:
      return QStringLiteral("Unexpected optional tag; should be 0 or 1");
    case unexpectedEnumCase:
      return QStringLiteral("Raw enum value doesn't match any cases");
    case unexpectedNullPointer:
      return QStringLiteral("Raw pointer value was null");
    case unexpectedCoreCallStatusCode:
      return QStringLiteral("Unexpected CoreCallStatus code");
    case unexpectedCoreCallError:
      return QStringLiteral("CALL_ERROR but no errorClass specified");
    case unexpectedStaleHandle:
      return QStringLiteral("The object in the handle map has been dropped already");
    case corePanic:
      break;
  }
  return {};
}

}  // namespace

UniffiInternalError::UniffiInternalError(Case which) : UniffiInternalError(which, describe(which)) {}

UniffiInternalError UniffiInternalError::corePanic(const QString& message) {
  return UniffiInternalError(Case::corePanic, message);
}

UniffiInternalError::UniffiInternalError(Case which, const QString& description)
    : which_(which), description_(description), utf8_(description.toStdString()) {}
