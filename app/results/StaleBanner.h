// The strip that warns that files were put back from the Trash, so the
// results may no longer match the disk. Shown while the results are stale.
#pragma once

#include <QWidget>

class StaleBanner final : public QWidget {
  Q_OBJECT

 public:
  explicit StaleBanner(QWidget* parent = nullptr);
};
