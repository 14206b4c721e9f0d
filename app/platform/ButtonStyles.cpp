#include "platform/ButtonStyles.h"

#include <QPushButton>

#include "platform/Icons.h"
#include "platform/Palette.h"

namespace ButtonStyles {

void makeProminent(QPushButton& button, const QColor& fill, const QString& symbol) {
  const QColor hovered = fill.lighter(110);
  const QColor pressed = fill.darker(115);
  button.setStyleSheet(QStringLiteral("QPushButton { background: %1; color: %2; border: none; border-radius: 6px;"
                                      " padding: 5px 16px; font-weight: 600; }"
                                      "QPushButton:hover { background: %3; color: %4; }"
                                      "QPushButton:pressed { background: %5; color: %6; }"
                                      "QPushButton:disabled { background: %7; color: %8; }")
                           .arg(fill.name(), Palette::textOn(fill).name(), hovered.name(),
                                Palette::textOn(hovered).name(), pressed.name(), Palette::textOn(pressed).name(),
                                Palette::quaternaryFill().name(QColor::HexArgb),
                                Palette::tertiaryText().name(QColor::HexArgb)));
  button.setIcon(symbol.isEmpty() ? QIcon() : Icons::symbol(symbol, Palette::textOn(fill)));
}

}  // namespace ButtonStyles
