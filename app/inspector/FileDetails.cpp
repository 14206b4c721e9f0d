#include "inspector/FileDetails.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "inspector/ContentRow.h"
#include "inspector/InspectorModel.h"
#include "inspector/InspectorSection.h"
#include "inspector/SymbolLabel.h"
#include "inspector/Thumbnail.h"
#include "interface/FormattedByteCount.h"
#include "platform/CountArgument.h"
#include "platform/DateText.h"
#include "platform/FileReveal.h"
#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "platform/PlainToolTip.h"
#include "platform/TextStyles.h"
#include "platform/VisibleControls.h"
#include "scan/ScanStore.h"
#include "widgets/ElidedLabel.h"
#include "widgets/FocusRing.h"
#include "widgets/TabStops.h"

namespace {

std::optional<QString> dateText(const std::optional<QDateTime>& date) {
  if (!date) return std::nullopt;
  return abbreviatedDateTime(*date);
}

QPushButton* symbolButton(const QString& title, const QString& symbol, const QString& name) {
  auto* button = new QPushButton(Icons::symbol(symbol), QString());
  button->setObjectName(name);
  button->setAccessibleName(title);
  button->setFlat(true);
  button->setIconSize(QSize(20, 20));
  return button;
}

}  // namespace

FileDetails::FileDetails(ScanStore& scan, InspectorModel& model, QuickLook quickLook, QWidget* parent)
    : QWidget(parent), scan_(scan), model_(model), quickLook_(std::move(quickLook)) {
  setObjectName(QStringLiteral("fileDetails"));
  auto* information = new InspectorSection(tr("Information"));
  makeInformation(*information);
  auto* storage = new InspectorSection(tr("Storage"));
  makeStorage(*storage);
  tags_ = new InspectorSection(tr("Tags"));
  tags_->setObjectName(QStringLiteral("tagsSection"));
  tagsText_ = dataLabel();
  tagsText_->setObjectName(QStringLiteral("tagsValue"));
  tags_->addWidget(tagsText_);

  auto* status = new InspectorSection(tr("Content"));
  content_ = new ContentRow;
  kept_ = new SymbolLabel(QStringLiteral("checkmark.circle.fill"), Palette::stateKeep());
  kept_->setObjectName(QStringLiteral("keptStatus"));
  kept_->setText(tr("This copy is kept"));
  differs_ = new SymbolLabel(QStringLiteral("exclamationmark.triangle.fill"), Palette::stateDiffers());
  differs_->setObjectName(QStringLiteral("differsStatus"));
  differs_->setText(tr("Same name and size, different content"));
  status->addWidget(content_);
  status->addWidget(kept_);
  status->addWidget(differs_);

  missing_ = new InspectorSection;
  missing_->setObjectName(QStringLiteral("missingNotice"));
  auto* notice = new SymbolLabel(QStringLiteral("questionmark.folder"), Palette::secondaryText());
  notice->setText(tr("This file is no longer in its folder."));
  missing_->addWidget(notice);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->setSpacing(14);
  for (QWidget* section :
       {makeHeader(), static_cast<QWidget*>(information), static_cast<QWidget*>(storage), static_cast<QWidget*>(tags_),
        static_cast<QWidget*>(status), static_cast<QWidget*>(missing_)})
    layout->addWidget(section);
  layout->addStretch();

  connect(&model_, &InspectorModel::fileChanged, this, &FileDetails::refreshCurrent);
  connect(&model_, &InspectorModel::metadataChanged, this, &FileDetails::refreshCurrent);
  connect(&model_, &InspectorModel::thumbnailChanged, this, &FileDetails::refreshCurrent);
  connect(&scan_, &ScanStore::selectionChanged, this, &FileDetails::refreshKept);
  connect(&scan_, &ScanStore::rootsChanged, this, &FileDetails::refreshRecorded);
}

QWidget* FileDetails::makeHeader() {
  auto* header = new InspectorSection;
  thumbnail_ = new Thumbnail;
  thumbnail_->setObjectName(QStringLiteral("thumbnail"));
  header->addWidget(thumbnail_, Qt::AlignHCenter);
  name_ = new ElidedLabel(Qt::ElideMiddle);
  name_->setObjectName(QStringLiteral("nameLabel"));
  name_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  name_->setAlignment(Qt::AlignHCenter);
  name_->setFont(TextStyles::font(TextStyle::body, font(), QFont::DemiBold));
  header->addWidget(name_);
  folder_ = new ElidedLabel(Qt::ElideMiddle);
  folder_->setObjectName(QStringLiteral("folderLabel"));
  folder_->setAlignment(Qt::AlignHCenter);
  folder_->setFont(TextStyles::font(TextStyle::callout, font()));
  Palette::setTextColor(*folder_, Palette::secondaryText());
  header->addWidget(folder_);

  auto* actions = new QWidget;
  setPlainToolTip(*actions, tr("Quick Look (Space) · Show in Finder"));
  auto* row = new QHBoxLayout(actions);
  row->setContentsMargins(FocusRing::margin, FocusRing::margin, FocusRing::margin, FocusRing::margin);
  auto* quickLook = symbolButton(tr("Quick Look"), QStringLiteral("eye"), QStringLiteral("quickLookButton"));
  auto* reveal = symbolButton(FileReveal::title(), QStringLiteral("folder"), QStringLiteral("showInFinderButton"));
  row->addWidget(quickLook);
  row->addWidget(reveal);
  // Flat buttons show no keyboard focus of their own.
  for (QPushButton* button : {quickLook, reveal}) FocusRing::attach(*button, 6);
  header->addWidget(actions, Qt::AlignHCenter);
  connect(quickLook, &QPushButton::clicked, this, [this] {
    requireMainThread();
    if (file_ && quickLook_) quickLook_(*file_);
  });
  connect(reveal, &QPushButton::clicked, this, [this] {
    requireMainThread();
    if (file_) FileReveal::reveal(file_->path);
  });

  keep_ = new QPushButton(tr("Keep This Copy"));
  keep_->setObjectName(QStringLiteral("keepThisCopyButton"));
  header->addWidget(keep_, Qt::AlignHCenter);
  connect(keep_, &QPushButton::clicked, this, [this] {
    requireMainThread();
    if (!set_ || !index_) return;
    scan_.changeSelection([&](SelectionModel& selection) { selection.keep(*index_, *set_); });
  });
  return header;
}

void FileDetails::makeInformation(InspectorSection& section) {
  kind_ = section.addRow(tr("Kind"), QStringLiteral("kindValue"));
  size_ = section.addRow(tr("Size"), QStringLiteral("sizeValue"));
  created_ = section.addRow(tr("Created"), QStringLiteral("createdValue"));
  modified_ = section.addRow(tr("Modified"), QStringLiteral("modifiedValue"));
  lastOpened_ = section.addRow(tr("Last opened"), QStringLiteral("lastOpenedValue"));
  added_ = section.addRow(tr("Added"), QStringLiteral("addedValue"));
}

void FileDetails::makeStorage(InspectorSection& section) {
  volume_ = section.addRow(tr("Volume"), QStringLiteral("volumeValue"));
  format_ = section.addRow(tr("Format"), QStringLiteral("formatValue"));
  location_ = section.addRow(tr("Location"), QStringLiteral("locationValue"));
  iCloud_ = section.addRow(tr("iCloud"), QStringLiteral("iCloudValue"));
  hardLinks_ = section.addRow(tr("Hard links"), QStringLiteral("hardLinksValue"));
  clone_ = section.addRow(tr("APFS clone"), QStringLiteral("cloneValue"));
}

void FileDetails::setFile(const FileEntry& file, const std::optional<DuplicateSet>& set,
                          std::optional<qsizetype> index) {
  requireMainThread();
  file_ = file;
  set_ = set;
  index_ = set && index && *index >= 0 && *index < set->files.size() ? index : std::nullopt;
  refreshRecorded();
  refreshCurrent();
}

QString FileDetails::hardLinksText(const FileEntry& file) {
  if (file.nlink < 2) return tr("None");
  return tr("%u names · frees 0 B").replace(QStringLiteral("%u"), countText(file.nlink));
}

QString FileDetails::cloneText(const FileEntry& file) {
  if (!file.mayShareBlocks) return tr("No");
  return tr("Yes · frees ") + formattedByteCount(file.freedBytes.value_or(0));
}

void FileDetails::refreshRecorded() {
  if (!file_) return;
  name_->setWholeText(withVisibleControls(file_->name));
  folder_->setStandingToolTip(withVisibleControls(file_->path));
  folder_->setWholeText(withVisibleControls(scan_.displayFolder(*file_)));
  size_->setText(formattedByteCount(file_->size));
  size_->setToolTip(QLocale().toString(static_cast<qulonglong>(file_->size)) + tr(" bytes"));
  setValueText(*created_, file_->createdNs ? dateText(dateFromNanoseconds(*file_->createdNs)) : std::nullopt);
  setValueText(*modified_, abbreviatedDateTime(dateFromNanoseconds(file_->modifiedNs)));
  hardLinks_->setText(hardLinksText(*file_));
  clone_->setText(cloneText(*file_));
  if (set_) content_->setSet(*set_);
  content_->setVisible(set_.has_value());
  differs_->setVisible(!set_);
  refreshKept();
}

void FileDetails::refreshCurrent() {
  if (!file_) return;
  // The model may still hold the previous file's results for a moment.
  const bool ours = model_.file() && model_.file()->path == file_->path;
  const std::optional<FileMetadata> metadata = ours ? model_.metadata() : std::nullopt;
  thumbnail_->setImage(ours ? model_.thumbnail() : std::nullopt);

  const auto field = [&](auto member) { return metadata ? (*metadata).*member : std::nullopt; };
  setValueText(*kind_, field(&FileMetadata::kind));
  setValueText(*lastOpened_, dateText(field(&FileMetadata::lastOpened)),
               metadata ? std::optional<QString>(tr("Never")) : std::nullopt);
  setValueText(*added_, dateText(field(&FileMetadata::added)));
  setValueText(*volume_, field(&FileMetadata::volumeName));
  setValueText(*format_, field(&FileMetadata::volumeFormat));
  std::optional<QString> location;
  if (const auto where = field(&FileMetadata::location)) {
    switch (*where) {
      case FileMetadata::Location::internal:
        location = tr("Internal");
        break;
      case FileMetadata::Location::external:
        location = tr("External");
        break;
      case FileMetadata::Location::network:
        location = tr("Network");
        break;
    }
  }
  setValueText(*location_, location);
  std::optional<QString> iCloud;
  if (metadata) {
    switch (metadata->iCloud) {
      case FileMetadata::ICloud::notInICloud:
        iCloud = tr("Not in iCloud");
        break;
      case FileMetadata::ICloud::downloaded:
        iCloud = tr("Downloaded");
        break;
      case FileMetadata::ICloud::notDownloaded:
        iCloud = tr("Not downloaded");
        break;
    }
  }
  setValueText(*iCloud_, iCloud);
  tags_->setVisible(metadata && !metadata->tags.isEmpty());
  if (metadata) tagsText_->setText(metadata->tags.join(QStringLiteral(", ")));
  missing_->setVisible(metadata && !metadata->exists);
}

bool FileDetails::isKept() const { return set_ && index_ && scan_.selection().keeper(*set_) == *index_; }

void FileDetails::refreshKept() {
  keep_->setVisible(set_.has_value());
  if (isKept() && window()->focusWidget() == keep_) passKeyboardOn();
  keep_->setEnabled(!isKept());
  kept_->setVisible(isKept());
}

// "Keep This Copy" pressed from the keyboard disables itself: the keyboard
// goes on to the next control of the pane, or to the results when none
// follows, never on to the control after the inspector (the folder list,
// where Delete removes folders).
void FileDetails::passKeyboardOn() {
  if (QWidget* next = TabStops::nextWithin(*this, *keep_))
    next->setFocus(Qt::TabFocusReason);
  else if (focusAfter_ != nullptr)
    focusAfter_->setFocus(Qt::OtherFocusReason);
}
