// The named text styles of the views (callout, caption, title 2 …) as fonts
// derived from a base font, keeping the steps between them that the desktop's
// body size suggests.
#pragma once

#include <QFont>

enum class TextStyle { body, callout, caption, caption2, title3, title2 };

namespace TextStyles {

QFont font(TextStyle style, const QFont& base, QFont::Weight weight = QFont::Normal);

}  // namespace TextStyles
