#include "platform/Icons.h"

#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QTransform>
#include <functional>

#include "platform/Palette.h"

namespace {

// Symbols are drawn in a 24 by 24 design space.
constexpr qreal designSize = 24.0;

using Drawing = std::function<void(QPainter&, const QColor&)>;

QPen strokePen(const QColor& color, qreal width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void stroke(QPainter& p, const QColor& color, qreal width, const QPainterPath& path) {
  p.setPen(strokePen(color, width));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void fill(QPainter& p, const QColor& color, const QPainterPath& path) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawPath(path);
}

QPainterPath folderPath() {
  QPainterPath path;
  path.moveTo(2.5, 7.0);
  path.quadTo(2.5, 4.5, 5.0, 4.5);
  path.lineTo(9.0, 4.5);
  path.lineTo(11.0, 6.5);
  path.lineTo(19.0, 6.5);
  path.quadTo(21.5, 6.5, 21.5, 9.0);
  path.lineTo(21.5, 17.5);
  path.quadTo(21.5, 20.0, 19.0, 20.0);
  path.lineTo(5.0, 20.0);
  path.quadTo(2.5, 20.0, 2.5, 17.5);
  path.closeSubpath();
  return path;
}

void drawFolder(QPainter& p, const QColor& c) {
  fill(p, c, folderPath());
  QPainterPath lip;
  lip.moveTo(2.5, 9.0);
  lip.lineTo(21.5, 9.0);
  stroke(p, QColor(255, 255, 255, 90), 1.0, lip);
}

void drawMissingFolder(QPainter& p, const QColor& c) {
  stroke(p, c, 1.5, folderPath());
  QFont font = p.font();
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  p.setPen(c);
  p.drawText(QRectF(2.5, 8.0, 19.0, 12.0), Qt::AlignCenter, QStringLiteral("?"));
}

void drawPlus(QPainter& p, const QColor& c) {
  QPainterPath path;
  path.moveTo(12, 5);
  path.lineTo(12, 19);
  path.moveTo(5, 12);
  path.lineTo(19, 12);
  stroke(p, c, 2.0, path);
}

void drawSliders(QPainter& p, const QColor& c) {
  const qreal rows[] = {6.0, 12.0, 18.0};
  const qreal knobs[] = {15.0, 8.0, 13.0};
  for (int i = 0; i < 3; ++i) {
    QPainterPath line;
    line.moveTo(3, rows[i]);
    line.lineTo(21, rows[i]);
    stroke(p, c, 1.6, line);
    QPainterPath knob;
    knob.addEllipse(QPointF(knobs[i], rows[i]), 2.6, 2.6);
    fill(p, c, knob);
  }
}

void drawStop(QPainter& p, const QColor& c) {
  QPainterPath path;
  path.addRoundedRect(QRectF(5.5, 5.5, 13, 13), 2.5, 2.5);
  fill(p, c, path);
}

void drawWarning(QPainter& p, const QColor& c) {
  QPainterPath triangle;
  triangle.moveTo(12, 3.5);
  triangle.lineTo(21.5, 20);
  triangle.lineTo(2.5, 20);
  triangle.closeSubpath();
  stroke(p, c, 1.6, triangle);
  QPainterPath bar;
  bar.moveTo(12, 9.5);
  bar.lineTo(12, 14.5);
  stroke(p, c, 1.8, bar);
  QPainterPath dot;
  dot.addEllipse(QPointF(12, 17.3), 1.1, 1.1);
  fill(p, c, dot);
}

void drawCircle(QPainter& p, const QColor& c) {
  QPainterPath path;
  path.addEllipse(QPointF(12, 12), 8.5, 8.5);
  stroke(p, c, 1.5, path);
}

void drawCheckmarkCircle(QPainter& p, const QColor& c) {
  QPainterPath disc;
  disc.addEllipse(QPointF(12, 12), 9.5, 9.5);
  fill(p, c, disc);
  QPainterPath check;
  check.moveTo(7.5, 12.3);
  check.lineTo(10.7, 15.3);
  check.lineTo(16.5, 8.8);
  stroke(p, Qt::white, 2.0, check);
}

void drawWarningFill(QPainter& p, const QColor& c) {
  QPainterPath triangle;
  triangle.moveTo(12, 3.0);
  triangle.quadTo(13.0, 3.0, 13.6, 4.0);
  triangle.lineTo(22.0, 18.8);
  triangle.quadTo(22.4, 20.5, 20.8, 20.5);
  triangle.lineTo(3.2, 20.5);
  triangle.quadTo(1.6, 20.5, 2.0, 18.8);
  triangle.lineTo(10.4, 4.0);
  triangle.quadTo(11.0, 3.0, 12, 3.0);
  fill(p, c, triangle);
  QPainterPath bar;
  bar.moveTo(12, 9.0);
  bar.lineTo(12, 14.0);
  stroke(p, Qt::white, 2.0, bar);
  QPainterPath dot;
  dot.addEllipse(QPointF(12, 17.2), 1.2, 1.2);
  fill(p, Qt::white, dot);
}

void drawTrash(QPainter& p, const QColor& c) {
  QPainterPath lid;
  lid.moveTo(4, 6.5);
  lid.lineTo(20, 6.5);
  lid.moveTo(9.5, 6.5);
  lid.lineTo(9.5, 4);
  lid.lineTo(14.5, 4);
  lid.lineTo(14.5, 6.5);
  stroke(p, c, 1.6, lid);
  QPainterPath can;
  can.moveTo(6, 6.5);
  can.lineTo(7, 20);
  can.lineTo(17, 20);
  can.lineTo(18, 6.5);
  can.moveTo(10, 10);
  can.lineTo(10.3, 16.5);
  can.moveTo(14, 10);
  can.lineTo(13.7, 16.5);
  stroke(p, c, 1.6, can);
}

void drawSidebarTrailing(QPainter& p, const QColor& c) {
  QPainterPath frame;
  frame.addRoundedRect(QRectF(3, 5, 18, 14), 2.5, 2.5);
  frame.moveTo(15, 5);
  frame.lineTo(15, 19);
  stroke(p, c, 1.5, frame);
}

void drawEye(QPainter& p, const QColor& c) {
  QPainterPath lids;
  lids.moveTo(2.5, 12);
  lids.quadTo(12, 2.5, 21.5, 12);
  lids.quadTo(12, 21.5, 2.5, 12);
  stroke(p, c, 1.5, lids);
  QPainterPath pupil;
  pupil.addEllipse(QPointF(12, 12), 3.2, 3.2);
  fill(p, c, pupil);
}

// A page with a folded corner: any item, whatever its kind.
void drawDocument(QPainter& p, const QColor& c) {
  QPainterPath page;
  page.moveTo(5.5, 2.5);
  page.lineTo(14.5, 2.5);
  page.lineTo(19.5, 7.5);
  page.lineTo(19.5, 21.5);
  page.lineTo(5.5, 21.5);
  page.closeSubpath();
  page.moveTo(14.5, 2.5);
  page.lineTo(14.5, 7.5);
  page.lineTo(19.5, 7.5);
  stroke(p, c, 1.2, page);
}

void drawGear(QPainter& p, const QColor& c) {
  constexpr int teeth = 8;
  QPainterPath gear;
  for (int tooth = 0; tooth < teeth; ++tooth) {
    const qreal angle = 360.0 * tooth / teeth;
    QPainterPath cog;
    cog.addRoundedRect(QRectF(-2.2, -10.5, 4.4, 5.0), 1.0, 1.0);
    gear.addPath(QTransform().translate(12, 12).rotate(angle).map(cog));
  }
  gear.addEllipse(QPointF(12, 12), 7.2, 7.2);
  gear = gear.simplified();
  QPainterPath hole;
  hole.addEllipse(QPointF(12, 12), 3.0, 3.0);
  fill(p, c, gear.subtracted(hole));
}

// Two arcs chasing each other round a circle, each ending in an arrowhead.
void drawCirclingArrows(QPainter& p, const QColor& c) {
  const QRectF circle(5, 5, 14, 14);
  for (const qreal start : {20.0, 200.0}) {
    QPainterPath arc;
    arc.arcMoveTo(circle, start);
    arc.arcTo(circle, start, 140);
    stroke(p, c, 1.6, arc);
    const QPointF tip = arc.currentPosition();
    const qreal direction = arc.angleAtPercent(1.0);
    QPainterPath head;
    head.moveTo(-3.0, -2.6);
    head.lineTo(0, 0);
    head.lineTo(-3.0, 2.6);
    stroke(p, c, 1.6, QTransform().translate(tip.x(), tip.y()).rotate(-direction).map(head));
  }
}

void drawCross(QPainter& p, const QColor& c) {
  QPainterPath path;
  path.moveTo(6.5, 6.5);
  path.lineTo(17.5, 17.5);
  path.moveTo(17.5, 6.5);
  path.lineTo(6.5, 17.5);
  stroke(p, c, 1.8, path);
}

void drawClockwiseCircle(QPainter& p, const QColor& c) {
  drawCircle(p, c);
  QPainterPath arc;
  arc.arcMoveTo(QRectF(7, 7, 10, 10), 120);
  arc.arcTo(QRectF(7, 7, 10, 10), 120, -300);
  stroke(p, c, 1.5, arc);
  QPainterPath head;
  head.moveTo(15.2, 6.4);
  head.lineTo(15.6, 9.4);
  head.lineTo(12.6, 9.6);
  stroke(p, c, 1.5, head);
}

struct Symbol {
  QString themeName;  // empty: the freedesktop names have no match
  Drawing draw;
};

const QHash<QString, Symbol>& symbols() {
  static const QHash<QString, Symbol> table{
      {QStringLiteral("folder"), {QStringLiteral("folder"), drawFolder}},
      {QStringLiteral("folder.badge.questionmark"), {QString(), drawMissingFolder}},
      {QStringLiteral("plus"), {QStringLiteral("list-add"), drawPlus}},
      {QStringLiteral("slider.horizontal.3"), {QString(), drawSliders}},
      {QStringLiteral("stop.fill"), {QStringLiteral("media-playback-stop"), drawStop}},
      {QStringLiteral("exclamationmark.triangle"), {QStringLiteral("dialog-warning"), drawWarning}},
      {QStringLiteral("circle"), {QString(), drawCircle}},
      {QStringLiteral("checkmark.circle.fill"), {QString(), drawCheckmarkCircle}},
      {QStringLiteral("exclamationmark.triangle.fill"), {QString(), drawWarningFill}},
      {QStringLiteral("questionmark.folder"), {QString(), drawMissingFolder}},
      {QStringLiteral("sidebar.trailing"), {QString(), drawSidebarTrailing}},
      {QStringLiteral("eye"), {QString(), drawEye}},
      {QStringLiteral("doc"), {QStringLiteral("text-x-generic"), drawDocument}},
      {QStringLiteral("gearshape"), {QStringLiteral("preferences-system"), drawGear}},
      {QStringLiteral("arrow.triangle.2.circlepath"), {QStringLiteral("view-refresh"), drawCirclingArrows}},
      {QStringLiteral("trash"), {QStringLiteral("user-trash"), drawTrash}},
      {QStringLiteral("xmark"), {QStringLiteral("window-close"), drawCross}},
      {QStringLiteral("arrow.clockwise.circle"), {QStringLiteral("view-refresh"), drawClockwiseCircle}},
  };
  return table;
}

// Draws a symbol at any size; an untinted one follows the palette's text
// colour, so that it changes with a light or dark palette.
class SymbolEngine final : public QIconEngine {
 public:
  SymbolEngine(QString name, QColor tint) : name_(std::move(name)), tint_(std::move(tint)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    QColor color = tint_.isValid() ? tint_ : Palette::primaryText();
    if (mode == QIcon::Disabled) color.setAlphaF(color.alphaF() * 0.35f);
    Icons::draw(*painter, name_, rect, color);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }

  QIconEngine* clone() const override { return new SymbolEngine(name_, tint_); }
  QString key() const override { return QStringLiteral("QuelmarisSymbol"); }

 private:
  QString name_;
  QColor tint_;
};

}  // namespace

namespace Icons {

QIcon symbol(const QString& name) {
  const auto found = symbols().constFind(name);
  if (found == symbols().constEnd()) return {};
  if (!found->themeName.isEmpty() && QIcon::hasThemeIcon(found->themeName)) return QIcon::fromTheme(found->themeName);
  return QIcon(new SymbolEngine(name, QColor()));
}

QIcon symbol(const QString& name, const QColor& tint) {
  if (!canDraw(name)) return {};
  return QIcon(new SymbolEngine(name, tint));
}

bool canDraw(const QString& name) { return symbols().contains(name); }

void draw(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color) {
  const auto found = symbols().constFind(name);
  if (found == symbols().constEnd()) return;
  const qreal side = std::min(rect.width(), rect.height());
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(rect.center() - QPointF(side / 2, side / 2));
  painter.scale(side / designSize, side / designSize);
  found->draw(painter, color);
  painter.restore();
}

}  // namespace Icons
