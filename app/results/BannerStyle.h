// What the results banners share: a row in the callout font over a
// translucent fill, with the symbol that opens it.
#pragma once

#include <QColor>
#include <QString>

class QHBoxLayout;
class QWidget;

namespace BannerStyle {

// Styles the banner and returns its row, holding the symbol already.
QHBoxLayout* row(QWidget& banner, const QColor& fill, const QString& symbol, const QColor& symbolColour);

}  // namespace BannerStyle
