#include "results/MovedBanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "interface/FormattedByteCount.h"
#include "platform/CountArgument.h"
#include "platform/Icons.h"
#include "platform/Palette.h"
#include "results/BannerStyle.h"
#include "widgets/FocusRing.h"
#include "widgets/SentenceLabel.h"

MovedBanner::MovedBanner(const TrashService::Outcome& outcome, QWidget* parent)
    : QWidget(parent), undo_(new QPushButton(tr("Undo"))) {
  setObjectName(QStringLiteral("movedBanner"));
  QColor fill = Palette::quaternaryFill();
  fill.setAlphaF(fill.alphaF() * 0.5f);
  QHBoxLayout* layout = BannerStyle::row(*this, fill, QStringLiteral("trash"), Palette::secondaryText());
  layout->setContentsMargins(12, 6, 12, 6);
  layout->setSpacing(10);

  auto* label = new SentenceLabel;
  label->setSentence(text(outcome));
  undo_->setObjectName(QStringLiteral("undoMoveButton"));
  auto* close = new QToolButton;
  close->setObjectName(QStringLiteral("closeBannerButton"));
  close->setIcon(Icons::symbol(QStringLiteral("xmark"), Palette::secondaryText()));
  close->setAccessibleName(tr("Close"));
  close->setToolTip(tr("Close"));
  close->setAutoRaise(true);
  connect(undo_, &QPushButton::clicked, this, &MovedBanner::undoRequested);
  connect(close, &QToolButton::clicked, this, &MovedBanner::closeRequested);

  // The buttons join the banner in the order Tab visits them.
  layout->addWidget(label);
  layout->addStretch();
  layout->addWidget(undo_);
  layout->addWidget(close);
  FocusRing::attach(*close, 4);
  BannerStyle::announce(*this, *label);
}

void MovedBanner::setUndoOffered(bool offered) { undo_->setEnabled(offered); }

QString MovedBanner::text(const TrashService::Outcome& outcome) {
  return tr("Moved %Ln file(s) to the Trash, freeing ", nullptr, countArgument(outcome.moved.size())) +
         formattedByteCount(outcome.freedBytes, outcome.freedEstimated) + QStringLiteral(".");
}
