#include "platform/Palette.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace {

QColor pick(const QColor& light, const QColor& dark) { return Palette::isDark() ? dark : light; }

QColor withAlpha(QColor color, int alpha) {
  color.setAlpha(alpha);
  return color;
}

}  // namespace

namespace Palette {

bool isDark() { return QGuiApplication::palette().color(QPalette::Window).lightness() < 128; }

// A teal that reads on both backgrounds and stays apart from the mark's
// green and the system red of the Stop button.
QColor brand() { return pick(QColor(0x0E, 0x7C, 0x86), QColor(0x3F, 0xC1, 0xC9)); }

QColor primaryText() { return QGuiApplication::palette().color(QPalette::WindowText); }
QColor secondaryText() { return withAlpha(primaryText(), 160); }
QColor tertiaryText() { return withAlpha(primaryText(), 100); }
QColor quaternaryFill() { return withAlpha(primaryText(), 28); }

QColor separator() { return withAlpha(primaryText(), 40); }

QColor sidebarBackground() {
  const QColor window = QGuiApplication::palette().color(QPalette::Window);
  return isDark() ? window.lighter(112) : window.darker(103);
}

QColor secondaryBackground() {
  const QColor window = QGuiApplication::palette().color(QPalette::Window);
  return isDark() ? window.lighter(125) : window.darker(106);
}

QColor stateKeep() { return pick(QColor(0x1E, 0x8A, 0x3A), QColor(0x4C, 0xD9, 0x6E)); }
QColor stateClone() { return pick(QColor(0x9A, 0x5B, 0x00), QColor(0xFF, 0xB3, 0x40)); }
QColor stateDiffers() { return pick(QColor(0xB0, 0x3A, 0x2E), QColor(0xFF, 0x7A, 0x6B)); }
QColor stateKeepRow() { return withAlpha(stateKeep(), 38); }
QColor stateMarkedRow() { return withAlpha(systemRed(), 34); }

QColor systemRed() { return pick(QColor(0xD7, 0x2C, 0x2C), QColor(0xFF, 0x5A, 0x50)); }
QColor systemGreen() { return pick(QColor(0x24, 0x9A, 0x3E), QColor(0x32, 0xD1, 0x5B)); }
QColor systemYellow() { return pick(QColor(0xE0, 0xA8, 0x00), QColor(0xFF, 0xD6, 0x0A)); }

void setTextColor(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  widget.setPalette(palette);
}

}  // namespace Palette
