#include "results/Badge.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "platform/Palette.h"
#include "platform/TextStyles.h"

namespace {

constexpr int horizontalPadding = 6;
constexpr int verticalPadding = 1;
constexpr float fillOpacity = 0.14f;

}  // namespace

namespace Badges {

QFont font(const QFont& base) { return TextStyles::font(TextStyle::caption2, base, QFont::Medium); }

int width(const Badge& badge, const QFont& base) {
  return QFontMetrics(font(base)).horizontalAdvance(badge.title) + 2 * horizontalPadding;
}

void paint(QPainter& painter, const Badge& badge, const QFont& base, int x, int centreY, const QColor& behind) {
  const QFont badgeFont = font(base);
  const QFontMetrics metrics(badgeFont);
  const int height = metrics.height() + 2 * verticalPadding;
  const QRectF capsule(x, centreY - height / 2.0, width(badge, base), height);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QColor tint = badge.color;
  tint.setAlphaF(fillOpacity);
  const QColor fill = Palette::over(tint, behind);
  QPainterPath path;
  path.addRoundedRect(capsule, height / 2.0, height / 2.0);
  painter.fillPath(path, fill);
  painter.setFont(badgeFont);
  painter.setPen(Palette::readableOn(badge.color, {fill}));
  painter.drawText(capsule, Qt::AlignCenter, badge.title);
  painter.restore();
}

}  // namespace Badges
