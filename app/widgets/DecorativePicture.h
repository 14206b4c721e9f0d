// A picture that only adorns what stands beside it (the application mark, a
// file's thumbnail, an empty state's symbol): assistive technology never
// lists it, whichever container it is put in, so a screen reader meets no
// element without a name. It paints its icon fitted into its area; subclasses
// that draw their own picture paint instead. Its container must be a plain
// widget or one given a role (see AccessibleRole.h). Main thread only.
#pragma once

#include <QIcon>
#include <QWidget>

class DecorativePicture : public QWidget {
  Q_OBJECT

 public:
  explicit DecorativePicture(QWidget* parent = nullptr);
  // The icon at a fixed side.
  DecorativePicture(const QIcon& icon, int side, QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QIcon icon_;
};
