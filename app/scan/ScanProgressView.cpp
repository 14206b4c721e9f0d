#include "scan/ScanProgressView.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "interface/FormattedByteCount.h"
#include "platform/ButtonStyles.h"
#include "platform/CountArgument.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "scan/NotReadButton.h"
#include "scan/PhaseRow.h"
#include "widgets/FocusRing.h"

namespace {

constexpr int cardMaximumWidth = 520;
constexpr int cardPadding = 24;
constexpr int cardSpacing = 16;
constexpr int cardRadius = 12;
// The prominent style's corners.
constexpr int stopRadius = 6;
// The bar's range: fine enough for a smooth bar, small enough for an int.
constexpr int barSteps = 10000;

const QKeySequence stopShortcut(Qt::CTRL | Qt::Key_Period);

constexpr std::array<Phase, 3> rowPhases{Phase::listing, Phase::grouping, Phase::verifying};

// The raised, rounded ground of the progress card.
class Card final : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::secondaryBackground());
    painter.drawRoundedRect(QRectF(rect()), cardRadius, cardRadius);
  }
};

}  // namespace

ScanProgressView::ScanProgressView(ScanStore& scan, QWidget* parent) : QWidget(parent), scan_(scan) {
  auto* card = makeCard();
  // The card takes the keyboard the window hands the view, where no key does
  // anything by accident; Tab goes on to Stop.
  setFocusProxy(card);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(card, 1);
  row->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 24, 24, 24);
  layout->addStretch();
  layout->addLayout(row);
  layout->addStretch();

  connect(&scan_, &ScanStore::phaseChanged, this, &ScanProgressView::refreshPhases);
  connect(&scan_, &ScanStore::filesSeenChanged, this, &ScanProgressView::refreshListing);
  connect(&scan_, &ScanStore::bytesHashedChanged, this, &ScanProgressView::refreshVerifying);
  connect(&scan_, &ScanStore::bytesToHashChanged, this, &ScanProgressView::refreshVerifying);
  connect(&scan_, &ScanStore::startedAtChanged, this, &ScanProgressView::refreshTimer);
  connect(&ticker_, &QTimer::timeout, this, &ScanProgressView::refreshTimer);
  ticker_.start(500);
  refreshPhases();
  refreshListing();
  refreshTimer();
}

QWidget* ScanProgressView::makeCard() {
  auto* card = new Card;
  card->setMaximumWidth(cardMaximumWidth);
  card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);

  auto* title = new QLabel(tr("Scanning\u2026"));
  card->setAccessibleName(title->text());
  title->setFont(TextStyles::font(TextStyle::title2, font(), QFont::DemiBold));
  rows_ = {new PhaseRow(tr("Listing files")), new PhaseRow(tr("Grouping by name and size")),
           new PhaseRow(tr("Verifying content"))};
  bar_ = new QProgressBar;
  bar_->setRange(0, barSteps);
  bar_->setTextVisible(false);
  bar_->setFixedHeight(8);
  QPalette tinted = bar_->palette();
  tinted.setColor(QPalette::Highlight, Palette::brand());
  bar_->setPalette(tinted);
  bar_->setAccessibleName(tr("Verifying content"));

  auto* layout = new QVBoxLayout(card);
  layout->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
  layout->setSpacing(cardSpacing);
  layout->addWidget(title);
  for (PhaseRow* phaseRow : rows_) layout->addWidget(phaseRow);
  layout->addWidget(bar_);
  layout->addWidget(makeFooter());
  return card;
}

QWidget* ScanProgressView::makeFooter() {
  timer_ = new QLabel;
  timer_->setFont(TextStyles::monospaced(font()));
  Palette::setTextColor(*timer_, Palette::secondaryText());
  notRead_ = new NotReadButton(scan_);
  stop_ = new QPushButton(tr("Stop"));
  ButtonStyles::makeProminent(*stop_, Palette::systemRed(), QStringLiteral("stop.fill"));
  stop_->setShortcut(stopShortcut);
  connect(stop_, &QPushButton::clicked, &scan_, &ScanStore::cancel);

  auto* footer = new QWidget;
  auto* layout = new QHBoxLayout(footer);
  // The rings outside the buttons stay inside the footer.
  layout->setContentsMargins(0, FocusRing::margin, FocusRing::margin, FocusRing::margin);
  layout->addWidget(timer_);
  layout->addWidget(notRead_);
  layout->addStretch();
  layout->addWidget(stop_);
  FocusRing::attach(*stop_, stopRadius);
  return footer;
}

// Two holders of one key in a window make Qt treat the key as ambiguous and
// run neither: where the window's menu already stops the scan on Ctrl+., the
// button leaves the key to it.
void ScanProgressView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  const QList<QAction*> actions = window()->findChildren<QAction*>();
  const bool taken = std::any_of(actions.begin(), actions.end(),
                                 [](const QAction* action) { return action->shortcuts().contains(stopShortcut); });
  stop_->setShortcut(taken ? QKeySequence() : stopShortcut);
}

QString ScanProgressView::elapsedText(qint64 seconds) {
  seconds = std::max<qint64>(seconds, 0);
  const qint64 hours = seconds / 3600;
  const qint64 minutes = seconds / 60 % 60;
  const QLatin1Char zero('0');
  if (hours > 0) return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
  return QStringLiteral("%1:%2").arg(minutes).arg(seconds % 60, 2, 10, zero);
}

void ScanProgressView::refreshPhases() {
  for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i]->setState(PhaseRow::stateFor(rowPhases[i], scan_.phase()));
  refreshVerifying();
}

void ScanProgressView::refreshListing() {
  rows_[0]->setDetail(tr("%Ln file(s)", nullptr, countArgument(scan_.filesSeen())));
}

void ScanProgressView::refreshVerifying() {
  const std::uint64_t toHash = scan_.bytesToHash();
  const std::uint64_t hashed = scan_.bytesHashed();
  rows_[2]->setDetail(toHash > 0 ? formattedByteCount(hashed) + QStringLiteral(" / ") + formattedByteCount(toHash)
                                 : QString());
  const bool showsBar = scan_.phase() == Phase::verifying && toHash > 0;
  bar_->setVisible(showsBar);
  if (showsBar)
    bar_->setValue(
        static_cast<int>(std::min(1.0, static_cast<double>(hashed) / static_cast<double>(toHash)) * barSteps));
}

void ScanProgressView::refreshTimer() {
  const std::optional<QDateTime>& started = scan_.startedAt();
  timer_->setVisible(started.has_value());
  if (started) timer_->setText(elapsedText(started->secsTo(QDateTime::currentDateTime())));
}
