#include "scan/NotReadButton.h"

#include <algorithm>

#include "platform/CountArgument.h"
#include "platform/Palette.h"
#include "scan/SkippedListView.h"
#include "widgets/FocusRing.h"

namespace {

constexpr int cornerRadius = 4;

bool isScannedThroughAnother(const RootSkipReason& reason) {
  return std::holds_alternative<RootSkipReason::nestedIn>(reason.value) ||
         std::holds_alternative<RootSkipReason::duplicate>(reason.value);
}

}  // namespace

NotReadButton::NotReadButton(ScanStore& scan, QWidget* parent) : QPushButton(parent), scan_(scan) {
  setFlat(true);
  setCursor(Qt::PointingHandCursor);
  setToolTip(tr("Show what wasn't read, and why"));
  QPalette tinted = palette();
  tinted.setColor(QPalette::ButtonText, Palette::brand());
  setPalette(tinted);
  // A flat button shows no focus of its own.
  FocusRing::attach(*this, cornerRadius);
  connect(this, &QPushButton::clicked, this, &NotReadButton::showList);
  connect(&scan_, &ScanStore::skippedChanged, this, &NotReadButton::refresh);
  connect(&scan_, &ScanStore::rootSkipsChanged, this, &NotReadButton::refresh);
  refresh();
}

std::int64_t NotReadButton::count(const QList<SkippedItem>& skipped, const QList<RootSkip>& rootSkips) {
  const auto unscanned = std::count_if(rootSkips.begin(), rootSkips.end(),
                                       [](const RootSkip& skip) { return !isScannedThroughAnother(skip.reason); });
  return static_cast<std::int64_t>(skipped.size()) + static_cast<std::int64_t>(unscanned);
}

void NotReadButton::refresh() {
  const std::int64_t notRead = count(scan_.skipped(), scan_.rootSkips());
  setText(tr("%1 not read").arg(countText(notRead)));
  // Shown only inside a parent: a parentless button would open as a window.
  if (notRead == 0)
    hide();
  else if (parentWidget() != nullptr)
    show();
}

void NotReadButton::showList() {
  if (list_) return;
  list_ = new SkippedListView(scan_.skipped(), scan_.rootSkips(), window());
  list_->setAttribute(Qt::WA_DeleteOnClose);
  list_->open();
}
