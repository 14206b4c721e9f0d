#include "platform/ButtonStyles.h"

#include "platform/Palette.h"

namespace ButtonStyles {

QString prominent(const QColor& fill) {
  return QStringLiteral(
             "QPushButton { background: %1; color: white; border: none; border-radius: 6px;"
             " padding: 5px 16px; font-weight: 600; }"
             "QPushButton:hover { background: %2; }"
             "QPushButton:pressed { background: %3; }"
             "QPushButton:disabled { background: %4; color: %5; }")
      .arg(fill.name(), fill.lighter(110).name(), fill.darker(115).name(),
           Palette::quaternaryFill().name(QColor::HexArgb), Palette::tertiaryText().name(QColor::HexArgb));
}

}  // namespace ButtonStyles
