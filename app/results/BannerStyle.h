// What the results banners share: a row in the callout font over a
// translucent fill, with the symbol that opens it, and the announcement of
// their message when they appear.
#pragma once

#include <QColor>
#include <QString>

class QHBoxLayout;
class QWidget;
class SentenceLabel;

namespace BannerStyle {

// Styles the banner and returns its row, holding the symbol already.
QHBoxLayout* row(QWidget& banner, const QColor& fill, const QString& symbol, const QColor& symbolColour);

// Makes the banner a notification named with the message its label shows:
// a screen reader speaks a notification the moment it is shown. The label,
// already in the banner, is left out of what it reads, so that the message
// is read once.
void announce(QWidget& banner, SentenceLabel& label);

}  // namespace BannerStyle
