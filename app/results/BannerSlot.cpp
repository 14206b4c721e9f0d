#include "results/BannerSlot.h"

#include <QVBoxLayout>

#include "results/MovedBanner.h"
#include "results/ResultsMove.h"
#include "results/StaleBanner.h"

BannerSlot::BannerSlot(ScanStore& scan, ResultsMove& move, QWidget& focusAfter, QWidget* parent)
    : QWidget(parent), scan_(scan), move_(move), focusAfter_(focusAfter) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  connect(&scan_, &ScanStore::isStaleChanged, this, &BannerSlot::refresh);
  connect(&move_, &ResultsMove::lastMoveChanged, this, &BannerSlot::refresh);
  refresh();
}

void BannerSlot::refresh() {
  // The window's focus, even while another window is active.
  const bool hadFocus = banner_ != nullptr && banner_->isAncestorOf(window()->focusWidget());
  delete banner_;
  banner_ = nullptr;
  if (hadFocus) focusAfter_.setFocus(Qt::OtherFocusReason);
  if (scan_.isStale()) {
    banner_ = new StaleBanner;
  } else if (const auto& outcome = move_.lastMove()) {
    auto* moved = new MovedBanner(*outcome);
    moved->setUndoOffered(move_.offersUndo());
    connect(&move_, &ResultsMove::offersUndoChanged, moved,
            [this, moved] { moved->setUndoOffered(move_.offersUndo()); });
    // Queued: the banner is deleted while its button is still being pressed.
    connect(moved, &MovedBanner::undoRequested, &move_, &ResultsMove::undoLastMove, Qt::QueuedConnection);
    connect(moved, &MovedBanner::closeRequested, &move_, &ResultsMove::closeLastMove, Qt::QueuedConnection);
    banner_ = moved;
  }
  // With no banner the empty slot takes no room.
  if (banner_ != nullptr) {
    layout()->addWidget(banner_);
    banner_->show();
  }
  emit bannerChanged();
}
