#include "platform/PlainToolTip.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTextLayout>
#include <QToolTip>
#include <QWidget>

namespace {

// The tip's frame and margins, and some room around it on the screen.
constexpr int screenMargin = 48;

// Qt's own wrapping of a tool tip aims at a pleasant shape, which folds a path
// into three short lines; here only the screen's width breaks a line.
QString brokenAtScreenWidth(const QString& text) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return text;
  const qreal width = screen->availableGeometry().width() - screenMargin;
  QTextOption wrapping;
  wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QStringList lines;
  for (const QString& paragraph : text.split(u'\n')) {
    if (paragraph.isEmpty()) {
      lines.append(paragraph);
      continue;
    }
    QTextLayout layout(paragraph, QToolTip::font());
    layout.setTextOption(wrapping);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      lines.append(paragraph.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
  }
  return lines.join(u'\n');
}

}  // namespace

QString plainToolTip(const QString& text) {
  if (text.isEmpty()) return text;
  return QStringLiteral("<p style=\"white-space:pre\">") + brokenAtScreenWidth(text).toHtmlEscaped() +
         QStringLiteral("</p>");
}

void setPlainToolTip(QWidget& widget, const QString& text) {
  widget.setToolTip(plainToolTip(text));
  widget.setAccessibleDescription(text);
}
