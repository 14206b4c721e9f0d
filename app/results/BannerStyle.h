// What the results banners share: a row in the callout font over a
// translucent fill, with the symbol that opens it, and the announcement of
// their message when they appear.
#pragma once

#include <QColor>
#include <QString>

class QHBoxLayout;
class QWidget;

namespace BannerStyle {

// Styles the banner and returns its row, holding the symbol already.
QHBoxLayout* row(QWidget& banner, const QColor& fill, const QString& symbol, const QColor& symbolColour);

// Makes the banner a notification with the message as its name: a screen
// reader speaks a notification the moment it is shown.
void announce(QWidget& banner, const QString& message);

}  // namespace BannerStyle
