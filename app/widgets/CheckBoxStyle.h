// The application's own check box, for the places where a style's box can
// all but vanish: a rounded box outlined in the palette's control outline,
// which reads at 3:1 on every surface the application paints (window, base,
// the grouped form's cards, the sidebar), filled with the brand colour and
// ticked when ticked, dimmed when disabled. The results table's mark column
// paints it; check boxes given CheckBoxStyle draw their box as it, their
// keyboard focus as the application's focus frame (FocusFrame) around the
// label, with room for it, and their label as the application's style does.
// Main thread only.
#pragma once

#include <QProxyStyle>

class QPainter;
class QRectF;

// Paints the box, its outline centred on the rectangle's edge, over the base
// colour (the ground of a field).
void paintCheckBox(QPainter& painter, const QRectF& box, bool ticked, bool enabled, const QColor& base);

class CheckBoxStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  // One for the whole run, over the application's style of the moment.
  static CheckBoxStyle& shared();

  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

 private:
  explicit CheckBoxStyle(QStyle* base) : QProxyStyle(base) {}
};
