// Brackets file work under the user's folders. Linux has no sandboxed
// access to begin or end, so access always begins and ending does nothing;
// callers keep their brackets all the same, so the same code would hold
// under a platform that grants access per folder. Any thread.
#pragma once

#include <QList>
#include <QUrl>

namespace SecurityScope {

// The URLs for which access began, in the given order.
QList<QUrl> startAccessing(const QList<QUrl>& urls);
// Ends access on exactly the list startAccessing returned.
void stopAccessing(const QList<QUrl>& urls);

}  // namespace SecurityScope
