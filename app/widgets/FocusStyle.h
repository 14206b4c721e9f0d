// The application's style: the desktop's own, with the keyboard focus drawn
// so that it reads at 3:1 on every surface the application paints, light
// and dark, where the desktop style's faint outline and fill do not: a 2 px
// frame in the highlight colour, moved toward black or white until it reads
// on the surfaces and on the lines controls draw on them (FocusFrame). Push
// buttons, drop-downs and text fields (list fields, ListEditor, among them)
// have it just inside their outline, the menu bar's current title after Alt
// around the title, every other control (tool buttons, tabs, item views'
// rows) where the style puts its focus rectangle. Controls given a FocusRing
// show that instead. Main thread only.
#pragma once

#include <QProxyStyle>

class QApplication;

class FocusStyle final : public QProxyStyle {
  Q_OBJECT

 public:
  // Makes it the application's style, over the style of the moment.
  static void install(QApplication& application);
  // A new instance of the desktop's style beneath it, for the proxies that
  // single widgets are given.
  static QStyle* createDesktopStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;

 private:
  using QProxyStyle::QProxyStyle;
};
