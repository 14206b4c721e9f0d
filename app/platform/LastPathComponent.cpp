#include "platform/LastPathComponent.h"

QString lastPathComponent(const QString& path) {
  qsizetype end = path.size();
  while (end > 1 && path.at(end - 1) == u'/') --end;
  const QString trimmed = path.left(end);
  if (trimmed == QStringLiteral("/")) return trimmed;
  return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}
