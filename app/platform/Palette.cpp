#include "platform/Palette.h"

#include <QGuiApplication>

namespace {

QColor pick(const QPalette& palette, QColor light, QColor dark) { return Palette::isDark(palette) ? dark : light; }

QColor withAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

}  // namespace

namespace Palette {

bool isDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

QColor brand(const QPalette& palette) { return pick(palette, QColor(0x0E, 0x76, 0x87), QColor(0x3F, 0xB8, 0xC9)); }

QColor brand() { return brand(QGuiApplication::palette()); }

QColor secondaryText(const QPalette& palette) { return withAlpha(palette.color(QPalette::WindowText), 150); }

QColor tertiaryText(const QPalette& palette) { return withAlpha(palette.color(QPalette::WindowText), 95); }

QColor quaternaryFill(const QPalette& palette) { return withAlpha(palette.color(QPalette::WindowText), 26); }

QColor secondaryBackground(const QPalette& palette) {
  return pick(palette, QColor(0xF3, 0xF4, 0xF6), QColor(0x2B, 0x2D, 0x31));
}

QColor success(const QPalette& palette) { return pick(palette, QColor(0x2E, 0x9E, 0x44), QColor(0x4C, 0xC7, 0x63)); }

QColor destructive(const QPalette& palette) {
  return pick(palette, QColor(0xD7, 0x37, 0x2F), QColor(0xF0, 0x55, 0x4B));
}

}  // namespace Palette
