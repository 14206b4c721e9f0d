// A borderless push button (a text with an icon that reads as a link) whose
// keyboard focus shows as a frame: the desktop style draws none on flat
// buttons, which left keyboard users without a sign of where they are.
#pragma once

#include <QPushButton>

class BorderlessButton final : public QPushButton {
  Q_OBJECT

 public:
  BorderlessButton(const QIcon& icon, const QString& text, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
