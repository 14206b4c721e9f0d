#include "inspector/SetDetails.h"

#include <QLabel>
#include <QVBoxLayout>

#include "inspector/ContentRow.h"
#include "inspector/InspectorSection.h"
#include "inspector/SymbolLabel.h"
#include "interface/FormattedByteCount.h"
#include "platform/CountArgument.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "platform/VisibleControls.h"
#include "scan/ScanStore.h"
#include "shell/QuelmarisMark.h"
#include "widgets/ElidedLabel.h"

SetDetails::SetDetails(ScanStore& scan, QWidget* parent)
    : QWidget(parent),
      scan_(scan),
      name_(new ElidedLabel(Qt::ElideMiddle)),
      count_(new QLabel),
      content_(new ContentRow),
      lookalikes_(new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::stateDiffers())) {
  setObjectName(QStringLiteral("setDetails"));
  auto* header = new InspectorSection;
  auto* mark = new QuelmarisMark;
  mark->setFixedSize(64, 64);
  header->addWidget(mark, Qt::AlignHCenter);
  name_->setObjectName(QStringLiteral("displayNameLabel"));
  name_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  name_->setAlignment(Qt::AlignHCenter);
  name_->setFont(TextStyles::font(TextStyle::body, font(), QFont::DemiBold));
  header->addWidget(name_);
  count_->setObjectName(QStringLiteral("countLabel"));
  count_->setAlignment(Qt::AlignHCenter);
  Palette::setTextColor(*count_, Palette::secondaryText());
  header->addWidget(count_);

  auto* information = new InspectorSection(tr("Information"));
  size_ = information->addRow(tr("Size"), QStringLiteral("sizeValue"));
  recoverable_ = information->addRow(tr("Recoverable"), QStringLiteral("recoverableValue"));
  Palette::setTextColor(*recoverable_, Palette::brand());
  // A path: elided in the middle rather than cut or wrapped mid-name.
  keptCopy_ = new ElidedLabel(Qt::ElideMiddle);
  keptCopy_->setObjectName(QStringLiteral("keptCopyValue"));
  keptCopy_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  information->addRow(tr("Kept copy"), keptCopy_);

  auto* content = new InspectorSection(tr("Content"));
  content->addWidget(content_);
  lookalikes_->setObjectName(QStringLiteral("lookalikeNote"));
  content->addWidget(lookalikes_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(14);
  layout->addWidget(header);
  layout->addWidget(information);
  layout->addWidget(content);
  layout->addStretch();

  connect(&scan_, &ScanStore::selectionChanged, this, &SetDetails::refreshKeptCopy);
}

void SetDetails::setSet(const DuplicateSet& set) {
  requireMainThread();
  set_ = set;
  name_->setWholeText(withVisibleControls(set.displayName));
  count_->setText(tr("%Ln copy(ies) of the same file", nullptr, countArgument(set.files.size())));
  size_->setText(formattedByteCount(set.size));
  recoverable_->setText(formattedByteCount(set.reclaimable, set.reclaimableEstimated));
  content_->setSet(set);
  lookalikes_->setVisible(!set.lookalikes.isEmpty());
  lookalikes_->setText(tr("%Ln other file(s) with the same name and size but different content", nullptr,
                          countArgument(set.lookalikes.size())));
  refreshKeptCopy();
}

void SetDetails::refreshKeptCopy() {
  if (!set_ || set_->files.isEmpty()) return;
  std::int64_t kept = scan_.selection().keeper(*set_);
  if (kept < 0 || kept >= set_->files.size())
    kept = std::min<std::int64_t>(set_->suggestedKeep, set_->files.size() - 1);
  const FileEntry& file = set_->files.at(kept);
  keptCopy_->setWholeText(scan_.displayFolder(file));
  keptCopy_->setStandingToolTip(file.path);
}
