// A failure of the call machinery on the application's side: a result it
// cannot read, an unexpected call status, a stale listener handle or a
// failure inside the core. Fatal everywhere except in planTrash.
#pragma once

#include <QString>
#include <exception>
#include <string>

class UniffiInternalError : public std::exception {
 public:
  enum class Case {
    bufferOverflow,
    incompleteData,
    unexpectedOptionalTag,
    unexpectedEnumCase,
    unexpectedNullPointer,
    unexpectedCoreCallStatusCode,
    unexpectedCoreCallError,
    unexpectedStaleHandle,
    corePanic,
  };

  explicit UniffiInternalError(Case which);
  static UniffiInternalError corePanic(const QString& message);

  Case which() const { return which_; }
  QString description() const { return description_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  UniffiInternalError(Case which, const QString& description);

  Case which_;
  QString description_;
  std::string utf8_;
};
