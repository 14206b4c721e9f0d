// The detail area while a scan runs: a card centred in the area naming the
// three phases with their state, the files seen, the bytes hashed against the
// bytes to hash with a bar while content is verified, the time since the
// start, the count of what was not read, and Stop (also Ctrl+., unless the
// window already holds that key for the same command). Keyboard focus given
// to the view goes to the card, named for assistive technology as its title.
// It reads the scan store and calls its cancel, nothing else. Main thread only.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>

#include "scan/ScanStore.h"

class NotReadButton;
class PhaseRow;
class QLabel;
class QProgressBar;
class QPushButton;

class ScanProgressView final : public QWidget {
  Q_OBJECT

 public:
  explicit ScanProgressView(ScanStore& scan, QWidget* parent = nullptr);

  // Listing, grouping and verifying, top to bottom.
  const std::array<PhaseRow*, 3>& phaseRows() const { return rows_; }
  QProgressBar* progressBar() const { return bar_; }
  QLabel* timerLabel() const { return timer_; }
  NotReadButton* notReadButton() const { return notRead_; }
  QPushButton* stopButton() const { return stop_; }

  // Elapsed time as a timer shows it: minutes and seconds, hours when there are any.
  static QString elapsedText(qint64 seconds);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* makeCard();
  QWidget* makeFooter();
  void refreshPhases();
  void refreshListing();
  void refreshVerifying();
  void refreshTimer();

  ScanStore& scan_;
  std::array<PhaseRow*, 3> rows_{};
  QProgressBar* bar_ = nullptr;
  QLabel* timer_ = nullptr;
  NotReadButton* notRead_ = nullptr;
  QPushButton* stop_ = nullptr;
  QTimer ticker_;
};
