// The application mark: two documents and a lens, drawn in code at any size
// on a transparent ground, in the largest square that fits its frame. Shown
// by the main window's empty state and the set details, where it only
// adorns; also the source of the window icon.
// Main thread only.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "widgets/DecorativePicture.h"

class QPainter;
class QRectF;

class QuelmarisMark final : public DecorativePicture {
  Q_OBJECT

 public:
  explicit QuelmarisMark(QWidget* parent = nullptr);

  // Draws the mark into the largest square centred in the frame.
  static void draw(QPainter& painter, const QRectF& frame);
  // The mark alone on a transparent square of the given side.
  static QPixmap pixmap(int side, qreal devicePixelRatio = 1.0);
  // The mark at the sizes window managers and task bars ask for.
  static QIcon icon();

  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override { return width; }
  QSize sizeHint() const override { return {72, 72}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};
