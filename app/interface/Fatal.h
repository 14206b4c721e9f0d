// Stops the program with a fatal error: the reaction to a failure of the call
// machinery that only a programming error can cause.
#pragma once

#include <QString>

[[noreturn]] void stopProgram(const QString& message);
