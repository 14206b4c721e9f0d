#include "inspector/InspectorView.h"

#include <QScrollArea>
#include <QStackedLayout>

#include "inspector/FileDetails.h"
#include "inspector/InspectorModel.h"
#include "inspector/SetDetails.h"
#include "inspector/SystemFileMetadata.h"
#include "platform/MainThread.h"
#include "scan/ScanStore.h"
#include "widgets/ContentUnavailableView.h"
#include "widgets/FocusRing.h"

namespace {

// Panes scroll vertically and follow the column's width. The scroll area is a
// Tab stop, so that the keyboard scrolls a long pane, whose lower rows no
// other Tab stop brings into view: it is named for the screen reader that
// lands on it, and ringed along its edges for the eye.
QScrollArea* scrolling(QWidget* pane, const QString& name) {
  auto* area = new QScrollArea;
  area->setAccessibleName(name);
  area->setWidget(pane);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return area;
}

}  // namespace

InspectorView::InspectorView(ScanStore& scan, QuickLook quickLook, QWidget* parent)
    : InspectorView(scan, std::make_shared<const SystemFileMetadata>(), std::move(quickLook), parent) {}

InspectorView::InspectorView(ScanStore& scan, std::shared_ptr<const FileMetadataProviding> provider,
                             QuickLook quickLook, QWidget* parent)
    : QWidget(parent),
      scan_(scan),
      model_(new InspectorModel(std::move(provider), this)),
      panes_(new QStackedLayout(this)),
      fileDetails_(new FileDetails(scan, *model_, std::move(quickLook))),
      setDetails_(new SetDetails(scan)) {
  requireMainThread();
  setAccessibleName(tr("Inspector"));
  empty_ = new ContentUnavailableView(ContentUnavailableView::symbolPicture(QStringLiteral("sidebar.trailing"), this),
                                      tr("No Selection"), tr("Select a file or a group to see its details."), this);
  empty_->setObjectName(QStringLiteral("inspectorEmptyState"));
  filePane_ = scrolling(fileDetails_, tr("File Details"));
  setPane_ = scrolling(setDetails_, tr("Group Details"));
  panes_->addWidget(empty_);
  panes_->addWidget(filePane_);
  panes_->addWidget(setPane_);
  for (QWidget* pane : {filePane_, setPane_}) FocusRing::attachInside(*pane, 0);
}

void InspectorView::setItem(const std::optional<InspectedItem>& item) {
  requireMainThread();
  if (item_ == item) return;
  item_ = item;
  showPane();
  // A set rebuilt with the same copy in it is the same file: no new load.
  const std::optional<FileEntry> file = inspectedFile(item_);
  if (file == inspectedFile_) return;
  inspectedFile_ = file;
  model_->show(file, scan_.roots());
}

void InspectorView::setFocusAfter(QWidget* widget) { fileDetails_->setFocusAfter(widget); }

void InspectorView::showPane() {
  if (!item_) {
    panes_->setCurrentWidget(empty_);
  } else if (const auto* set = std::get_if<InspectedSet>(&*item_)) {
    setDetails_->setSet(set->set);
    panes_->setCurrentWidget(setPane_);
  } else if (const auto* member = std::get_if<InspectedMember>(&*item_)) {
    fileDetails_->setFile(member->set.files.at(member->index), member->set, member->index);
    panes_->setCurrentWidget(filePane_);
  } else if (const auto* lookalike = std::get_if<InspectedLookalike>(&*item_)) {
    fileDetails_->setFile(lookalike->file, std::nullopt, std::nullopt);
    panes_->setCurrentWidget(filePane_);
  }
}
