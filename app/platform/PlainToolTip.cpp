#include "platform/PlainToolTip.h"

QString plainToolTip(const QString& text) {
  if (text.isEmpty()) return text;
  return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}
