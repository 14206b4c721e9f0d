#include "interface/Fatal.h"

#include <QtGlobal>
#include <cstdlib>

void stopProgram(const QString& message) {
  qFatal("%s", qUtf8Printable(message));
  std::abort();
}
