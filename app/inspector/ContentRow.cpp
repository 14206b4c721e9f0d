#include "inspector/ContentRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "inspector/InspectorSection.h"
#include "inspector/SymbolLabel.h"
#include "platform/Palette.h"
#include "platform/PlainToolTip.h"
#include "platform/TextStyles.h"

ContentRow::ContentRow(QWidget* parent)
    : QWidget(parent),
      identical_(new QWidget),
      digest_(dataLabel()),
      notVerified_(new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::stateDiffers())) {
  auto* title = new QLabel(tr("Identical"));
  title->setTextFormat(Qt::PlainText);
  digest_->setObjectName(QStringLiteral("identicalValue"));
  digest_->setAlignment(Qt::AlignRight);
  digest_->setFont(TextStyles::monospaced(TextStyles::font(TextStyle::callout, font())));
  Palette::setTextColor(*digest_, Palette::secondaryText());
  auto* row = new QHBoxLayout(identical_);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(title);
  row->addWidget(digest_, 1);

  notVerified_->setObjectName(QStringLiteral("notVerifiedLabel"));
  notVerified_->setText(tr("Not verified: same name and size only"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(identical_);
  layout->addWidget(notVerified_);
}

void ContentRow::setSet(const DuplicateSet& set) {
  const bool proven = set.verified && set.contentHash;
  identical_->setVisible(proven);
  notVerified_->setVisible(!proven);
  if (!proven) return;
  // A digest shorter than the prefix is shown whole.
  digest_->setText(QStringLiteral("BLAKE3 ") + set.contentHash->left(12) + QStringLiteral("\u2026"));
  setPlainToolTip(*digest_, *set.contentHash);
}
