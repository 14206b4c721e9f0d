#include "platform/Palette.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

// How finely readableOn moves a colour toward black or white.
constexpr int readableSteps = 40;

QColor withAlpha(QColor color, int alpha) {
  color.setAlpha(alpha);
  return color;
}

// The colour `share` of the way from one colour to another.
QColor mixed(const QColor& from, const QColor& to, double share) {
  const auto channel = [share](float a, float b) { return a + (b - a) * static_cast<float>(share); };
  return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                          channel(from.blueF(), to.blueF()))
      .toRgb();
}

double relativeLuminance(const QColor& colour) {
  const auto linear = [](float value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = colour.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

bool darkWindow(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }
QColor sidebarOf(const QColor& window, bool dark) { return dark ? window.lighter(112) : window.darker(103); }
QColor cardOf(const QColor& window, bool dark) { return dark ? window.lighter(125) : window.darker(106); }

QList<QColor> surfacesOf(const QPalette& palette) {
  const bool dark = darkWindow(palette);
  const QColor window = palette.color(QPalette::Window);
  return {window, palette.color(QPalette::Base), cardOf(window, dark), sidebarOf(window, dark)};
}

// The colours that depend on the palette, made once for each palette.
struct Colours {
  QColor brand, secondary, tertiary, outline, keep, clone, differs;
};

Colours coloursOf(const QPalette& palette) {
  const bool dark = darkWindow(palette);
  const auto pick = [dark](QColor light, QColor darkValue) { return dark ? darkValue : light; };
  const QColor window = palette.color(QPalette::Window);
  const QColor ink = palette.color(QPalette::WindowText);
  const QList<QColor> surfaces = surfacesOf(palette);
  const auto text = [&](const QColor& colour) { return Palette::readableOn(colour, surfaces); };
  // A teal that reads on both backgrounds and stays apart from the mark's
  // green and the system red of the Stop button.
  return {text(pick(QColor(0x0E, 0x7C, 0x86), QColor(0x3F, 0xC1, 0xC9))),
          text(mixed(window, ink, 0.63)),
          text(mixed(window, ink, 0.45)),
          Palette::readableOn(mixed(window, ink, 0.4), surfaces, Palette::outlineContrast),
          text(pick(QColor(0x1E, 0x8A, 0x3A), QColor(0x4C, 0xD9, 0x6E))),
          text(pick(QColor(0x9A, 0x5B, 0x00), QColor(0xFF, 0xB3, 0x40))),
          text(pick(QColor(0xB0, 0x3A, 0x2E), QColor(0xFF, 0x7A, 0x6B)))};
}

const Colours& colours() {
  static qint64 madeFor = -1;
  static Colours made;
  const QPalette palette = QGuiApplication::palette();
  if (palette.cacheKey() != madeFor) {
    made = coloursOf(palette);
    madeFor = palette.cacheKey();
  }
  return made;
}

QColor pick(const QColor& light, const QColor& dark) { return Palette::isDark() ? dark : light; }
QColor window() { return QGuiApplication::palette().color(QPalette::Window); }

}  // namespace

namespace Palette {

bool isDark() { return darkWindow(QGuiApplication::palette()); }

QColor brand() { return colours().brand; }

QColor primaryText() { return QGuiApplication::palette().color(QPalette::WindowText); }
QColor secondaryText() { return colours().secondary; }
QColor tertiaryText() { return colours().tertiary; }
QColor quaternaryFill() { return withAlpha(primaryText(), 28); }

QColor separator() { return withAlpha(primaryText(), 40); }
QColor controlOutline() { return colours().outline; }

QColor sidebarBackground() { return sidebarOf(window(), isDark()); }
QColor secondaryBackground() { return cardOf(window(), isDark()); }
QList<QColor> surfaces() { return surfacesOf(QGuiApplication::palette()); }

QColor stateKeep() { return colours().keep; }
QColor stateClone() { return colours().clone; }
QColor stateDiffers() { return colours().differs; }
QColor stateKeepRow() { return withAlpha(stateKeep(), 38); }
QColor stateMarkedRow() { return withAlpha(systemRed(), 34); }

QColor systemRed() { return pick(QColor(0xD7, 0x2C, 0x2C), QColor(0xFF, 0x5A, 0x50)); }
QColor systemGreen() { return pick(QColor(0x24, 0x9A, 0x3E), QColor(0x32, 0xD1, 0x5B)); }
QColor systemYellow() { return pick(QColor(0xE0, 0xA8, 0x00), QColor(0xFF, 0xD6, 0x0A)); }

QColor textOn(const QColor& fill) {
  const QColor white(Qt::white);
  return contrastRatio(white, fill) >= textContrast ? white : QColor(0x1D, 0x1D, 0x1F);
}

double contrastRatio(const QColor& one, const QColor& other) {
  const double first = relativeLuminance(one);
  const double second = relativeLuminance(other);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor over(const QColor& colour, const QColor& background) { return mixed(background, colour, colour.alphaF()); }

QColor readableOn(const QColor& colour, const QList<QColor>& backgrounds, double ratio) {
  if (backgrounds.isEmpty()) return colour;
  const QColor first = backgrounds.first();
  const QColor away = contrastRatio(Qt::white, first) > contrastRatio(Qt::black, first) ? Qt::white : Qt::black;
  for (int step = 0; step < readableSteps; ++step) {
    const QColor tried = mixed(colour, away, double(step) / readableSteps);
    if (std::all_of(backgrounds.begin(), backgrounds.end(),
                    [&](const QColor& background) { return contrastRatio(tried, background) >= ratio; }))
      return tried;
  }
  return away;
}

void setTextColor(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, colour);
  widget.setPalette(palette);
}

}  // namespace Palette
