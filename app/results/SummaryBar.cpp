#include "results/SummaryBar.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPushButton>

#include "interface/FormattedByteCount.h"
#include "platform/AccessibleRole.h"
#include "platform/CountArgument.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "results/TotalsLabel.h"
#include "scan/NotReadButton.h"
#include "widgets/ElidingButton.h"
#include "widgets/FlowRow.h"
#include "widgets/FocusRing.h"

namespace {

constexpr int segmentRadius = 6;
// Room around the picker for a segment's focus ring, taken from the bar's
// margins so that the row keeps its size.
constexpr int ringRoom = 3;

struct Figures {
  std::uint64_t groups = 0;
  std::uint64_t extraCopies = 0;
  std::uint64_t recoverable = 0;
  bool estimated = false;
};

Figures figuresOf(const QList<DuplicateSet>& sets) {
  Figures figures;
  figures.groups = static_cast<std::uint64_t>(sets.size());
  for (const DuplicateSet& set : sets) {
    figures.extraCopies += set.files.isEmpty() ? 0 : static_cast<std::uint64_t>(set.files.size() - 1);
    figures.recoverable += set.reclaimable;
    figures.estimated = figures.estimated || set.reclaimableEstimated;
  }
  return figures;
}

// A segmented control: the segments joined into one rounded strip, the
// chosen one filled with the brand colour.
QString segmentStyle(bool first, bool last) {
  const QColor brand = Palette::brand();
  const QString radius = QStringLiteral("%1px");
  return QStringLiteral(
             "QPushButton { border: 1px solid %1; %2 padding: 3px 12px; background: %3; color: %4;"
             " border-top-left-radius: %5; border-bottom-left-radius: %5;"
             " border-top-right-radius: %6; border-bottom-right-radius: %6; }"
             "QPushButton:checked { background: %7; border-color: %7; color: %8; }")
      .arg(Palette::controlOutline().name(), first ? QString() : QStringLiteral("border-left: none;"),
           Palette::quaternaryFill().name(QColor::HexArgb), Palette::primaryText().name(),
           radius.arg(first ? segmentRadius : 0), radius.arg(last ? segmentRadius : 0), brand.name(),
           Palette::textOn(brand).name());
}

QString tr(const char* text, int count = -1) { return QCoreApplication::translate("SummaryBar", text, nullptr, count); }

// The counts part: "2 groups · 3 extra copies · ".
QString countsText(const Figures& figures) {
  const QString separator = QStringLiteral(" \u00B7 ");
  return tr("%Ln group(s)", countArgument(figures.groups)) + separator +
         tr("%Ln extra copy(ies)", countArgument(figures.extraCopies)) + separator;
}

// The amount part: "about 1.2 MB", the prefix only for an estimate.
QString amountText(const Figures& figures) { return formattedByteCount(figures.recoverable, figures.estimated); }

}  // namespace

SummaryBar::SummaryBar(ScanStore& scan, QWidget* parent)
    : QWidget(parent), scan_(scan), totals_(new TotalsLabel), notRead_(new NotReadButton(scan)) {
  setFont(TextStyles::font(TextStyle::callout, font()));
  // In a narrow window the row wraps rather than cut a figure short: what
  // does not fit beside the totals goes below them, the picker still at the
  // trailing edge. Only where a line of its own is too narrow do the totals
  // take more lines, or the picker's segments elide.
  auto* layout = new FlowRow(this);
  layout->setContentsMargins(12, 6 - ringRoom, 12 - ringRoom, 6 - ringRoom);
  layout->addWidget(totals_);
  layout->addWidget(notRead_);
  QWidget* picker = makePicker();
  layout->addWidget(picker);
  layout->setAlignment(picker, Qt::AlignRight);

  connect(&scan_, &ScanStore::stateChanged, this, &SummaryBar::refresh);
  connect(&scan_, &ScanStore::setsChanged, this, &SummaryBar::refresh);
  refresh();
}

QWidget* SummaryBar::makePicker() {
  auto* segments = new QWidget;
  segments->setObjectName(QStringLiteral("showPicker"));
  // One choice among the segments, as radio buttons in a named group are.
  setAccessibleRole(*segments, QAccessible::Grouping);
  segments->setAccessibleName(tr("Show"));
  segments->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  auto* layout = new QHBoxLayout(segments);
  layout->setContentsMargins(ringRoom, ringRoom, ringRoom, ringRoom);
  layout->setSpacing(0);
  picker_ = new QButtonGroup(this);
  for (const ResultsFilter choice : allResultsFilters) {
    auto* segment = new ElidingButton(title(choice));
    segment->setCheckable(true);
    segment->setAutoExclusive(true);
    segment->setStyleSheet(segmentStyle(choice == allResultsFilters.front(), choice == allResultsFilters.back()));
    segment->setChecked(choice == filter_);
    picker_->addButton(segment, static_cast<int>(choice));
    layout->addWidget(segment);
    FocusRing::attach(*segment, segmentRadius);
  }
  connect(picker_, &QButtonGroup::idClicked, this, [this](int id) {
    const auto chosen = static_cast<ResultsFilter>(id);
    if (chosen == filter_) return;
    filter_ = chosen;
    emit filterChanged(chosen);
  });
  return segments;
}

void SummaryBar::setFilter(ResultsFilter filter) {
  filter_ = filter;
  picker_->button(static_cast<int>(filter))->setChecked(true);
}

QString SummaryBar::totalsText(const QList<DuplicateSet>& sets) {
  const Figures figures = figuresOf(sets);
  return countsText(figures) + amountText(figures) + tr(" recoverable");
}

void SummaryBar::refresh() {
  const bool finished = scan_.state().is<ScanStore::State::finished>();
  // Shown only inside a parent: a parentless bar would open as a window.
  if (!finished) {
    hide();
    return;
  }
  if (parentWidget() != nullptr) show();
  const Figures figures = figuresOf(scan_.sets());
  totals_->setParts(countsText(figures), amountText(figures), tr(" recoverable"));
}
