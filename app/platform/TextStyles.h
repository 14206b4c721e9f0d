// The named text styles of the views (callout, caption, title 2 …) as fonts
// derived from a base font, keeping the steps between them that the desktop's
// body size suggests.
#pragma once

#include <QFont>

enum class TextStyle { body, callout, caption, caption2, title3, title2 };

namespace TextStyles {

QFont font(TextStyle style, const QFont& base, QFont::Weight weight = QFont::Normal);

// The desktop's fixed-pitch font at the size and weight of base: digits of one
// width, so that a figure that counts keeps its width. (Qt 6.4 cannot switch
// on a font's tabular figures.)
QFont monospaced(const QFont& base);

}  // namespace TextStyles
