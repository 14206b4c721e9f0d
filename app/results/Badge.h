// A small coloured tag after a name ("Keep", "Hard Link · 0 B", "Not
// Verified" …): its title in the caption-2 font at medium weight in the
// badge colour, on a capsule of the same colour at 14 % over what lies
// behind it. Painted by the views that show one; main thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QMetaType>
#include <QString>

class QPainter;
class QPoint;

struct Badge {
  QString title;
  QColor color;
};

namespace Badges {

QFont font(const QFont& base);
int width(const Badge& badge, const QFont& base);
// Paints the badge with its left edge at x, centred on the line at centreY,
// over the colour behind it; the title is darkened or lightened where it
// would not read on the capsule.
void paint(QPainter& painter, const Badge& badge, const QFont& base, int x, int centreY, const QColor& behind);

}  // namespace Badges

Q_DECLARE_METATYPE(Badge)
