// The application's one log: failures of the folder store go to syslog at
// error level under the application id. An error's description may name the
// user's files, so the entry carries it as "<private>". Any thread; nothing
// is formatted when syslog's mask holds back error-level entries.
#pragma once

#include <QString>
#include <QtGlobal>

// A failure as the log reports it: where it comes from, its number and what
// it says (the last part never reaches the log).
struct FolderError {
  QString domain;
  qint64 code = 0;
  QString description;
};

namespace FolderLog {

// The id syslog files the entries under.
inline constexpr char applicationId[] = QUELMARIS_APPLICATION_ID;

// A failure reported by errno.
FolderError errnoError(int number);

// The entry as it is written: "message: domain code — <private>".
QString entryText(const QString& message, const FolderError& error);

void logFailure(const QString& message, const FolderError& error);

}  // namespace FolderLog
