#include "folders/SecurityScope.h"

namespace SecurityScope {

namespace {
bool beginAccess(const QUrl&) { return true; }
void endAccess(const QUrl&) {}
}  // namespace

QList<QUrl> startAccessing(const QList<QUrl>& urls) {
  QList<QUrl> started;
  for (const QUrl& url : urls)
    if (beginAccess(url)) started.append(url);
  return started;
}

void stopAccessing(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) endAccess(url);
}

}  // namespace SecurityScope
