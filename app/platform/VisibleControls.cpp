#include "platform/VisibleControls.h"

#include <algorithm>

namespace {

bool reorders(char16_t c) {
  return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

}  // namespace

QString withVisibleControls(const QString& text) {
  if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return reorders(c.unicode()); })) return text;
  QString shown;
  shown.reserve(text.size() + 16);
  for (const QChar c : text) {
    if (reorders(c.unicode()))
      shown += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    else
      shown += c;
  }
  return shown;
}
