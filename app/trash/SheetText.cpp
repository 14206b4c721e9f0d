#include "trash/SheetText.h"

#include <QLabel>

#include "platform/TextStyles.h"
#include "platform/Palette.h"

namespace SheetText {

QLabel* title(const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(QStringLiteral("title"));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setFont(TextStyles::font(TextStyle::title3, label->font(), QFont::DemiBold));
  return label;
}

QLabel* line(const QString& text, const QColor& colour, const QString& objectName) {
  auto* label = new QLabel(text);
  label->setObjectName(objectName);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  Palette::setTextColor(*label, colour);
  return label;
}

}  // namespace SheetText
