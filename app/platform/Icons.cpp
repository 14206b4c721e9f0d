#include "platform/Icons.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <map>

#include "platform/SymbolDrawing.h"

namespace {

// Paints one drawn symbol at whatever size and scale a view asks for.
class SymbolEngine final : public QIconEngine {
 public:
  SymbolEngine(QString name, QColor tint) : name_(std::move(name)), tint_(tint) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    QColor colour = tint_;
    if (mode == QIcon::Disabled) colour.setAlphaF(colour.alphaF() * 0.4f);
    Icons::detail::drawSymbol(*painter, name_, rect, colour);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap image(size * scale);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return image;
  }

  QIconEngine* clone() const override { return new SymbolEngine(name_, tint_); }

  QString key() const override { return QStringLiteral("QuelmarisSymbol"); }

 private:
  QString name_;
  QColor tint_;
};

// Freedesktop names of the symbols that a theme can stand in for untinted.
const std::map<QString, QString>& themeNames() {
  static const std::map<QString, QString> table{
      {QStringLiteral("folder"), QStringLiteral("folder")},
      {QStringLiteral("plus"), QStringLiteral("list-add")},
      {QStringLiteral("stop.fill"), QStringLiteral("process-stop")},
  };
  return table;
}

}  // namespace

namespace Icons {

QIcon symbol(const QString& name) {
  const auto themed = themeNames().find(name);
  if (themed != themeNames().end() && QIcon::hasThemeIcon(themed->second)) return QIcon::fromTheme(themed->second);
  return symbol(name, QGuiApplication::palette().color(QPalette::WindowText));
}

QIcon symbol(const QString& name, const QColor& tint) {
  Q_ASSERT(detail::hasDrawing(name));
  return QIcon(new SymbolEngine(name, tint));
}

}  // namespace Icons
