#include "platform/TextStyles.h"

#include <QFontDatabase>

namespace {

// Size relative to the body text, in points.
qreal stepFor(TextStyle style) {
  switch (style) {
    case TextStyle::body:
      return 0;
    case TextStyle::callout:
      return -1;
    case TextStyle::caption:
      return -2;
    case TextStyle::caption2:
      return -2.5;
    case TextStyle::title3:
      return 2;
    case TextStyle::title2:
      return 4;
  }
  return 0;
}

}  // namespace

namespace TextStyles {

QFont font(TextStyle style, const QFont& base, QFont::Weight weight) {
  QFont result = base;
  const qreal body = base.pointSizeF() > 0 ? base.pointSizeF() : 10;
  result.setPointSizeF(std::max<qreal>(6, body + stepFor(style)));
  result.setWeight(weight);
  return result;
}

QFont monospaced(const QFont& base) {
  QFont result = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (base.pointSizeF() > 0)
    result.setPointSizeF(base.pointSizeF());
  else
    result.setPixelSize(base.pixelSize());
  result.setWeight(base.weight());
  return result;
}

}  // namespace TextStyles
