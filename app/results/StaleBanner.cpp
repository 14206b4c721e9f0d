#include "results/StaleBanner.h"

#include <QHBoxLayout>

#include "platform/Palette.h"
#include "results/BannerStyle.h"
#include "widgets/SentenceLabel.h"

StaleBanner::StaleBanner(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("staleBanner"));
  QColor fill = Palette::systemYellow();
  fill.setAlphaF(0.15f);
  QHBoxLayout* layout = BannerStyle::row(*this, fill, QStringLiteral("arrow.clockwise.circle"), Palette::primaryText());
  layout->setContentsMargins(8, 8, 8, 8);
  auto* label = new SentenceLabel;
  label->setSentence(tr("Files were put back from the Trash: these results may be out of date."));
  layout->addWidget(label);
  layout->addStretch();
  BannerStyle::announce(*this, *label);
}
