// The place above the summary bar for the results banners: the stale banner
// while the results are stale; otherwise the moved banner while a clean move
// is reported, its Undo (enabled while the move offers it) and close button
// answered by the move; otherwise nothing, taking no room. When a banner that
// holds the keyboard focus goes away, the focus goes to focusAfter. Main
// thread only.
#pragma once

#include <QWidget>

class ResultsMove;
class ScanStore;

class BannerSlot final : public QWidget {
  Q_OBJECT

 public:
  BannerSlot(ScanStore& scan, ResultsMove& move, QWidget& focusAfter, QWidget* parent = nullptr);

  // The banner shown, or null.
  QWidget* banner() const { return banner_; }

 signals:
  // Another banner or none took the place of the one shown.
  void bannerChanged();

 private:
  void refresh();

  ScanStore& scan_;
  ResultsMove& move_;
  QWidget& focusAfter_;
  QWidget* banner_ = nullptr;
};
