// The file's picture in the inspector's header: the loaded thumbnail fitted
// into 128 × 128 with its proportions kept, or the generic item icon at half
// opacity while there is none. Decorative only. Main thread only.
#pragma once

#include <QImage>
#include <QPixmap>
#include <optional>

#include "widgets/DecorativePicture.h"

class Thumbnail final : public DecorativePicture {
  Q_OBJECT

 public:
  static constexpr int side = 128;

  explicit Thumbnail(QWidget* parent = nullptr);

  void setImage(const std::optional<QImage>& image);
  bool hasImage() const { return !pixmap_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap pixmap_;
  // The picture the pixmap was made from; 0 for none.
  qint64 imageKey_ = 0;
};
