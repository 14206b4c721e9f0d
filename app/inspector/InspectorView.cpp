#include "inspector/InspectorView.h"

#include <QStackedLayout>

#include "platform/MainThread.h"
#include "widgets/ContentUnavailableView.h"

InspectorView::InspectorView(ScanStore& scan, QuickLook quickLook, QWidget* parent)
    : QWidget(parent), scan_(scan), quickLook_(std::move(quickLook)), panes_(new QStackedLayout(this)) {
  setAccessibleName(tr("Inspector"));
  auto* empty = new ContentUnavailableView(ContentUnavailableView::symbolPicture(QStringLiteral("sidebar.trailing"), this),
                                           tr("No Selection"), tr("Select a file or a group to see its details."), this);
  panes_->addWidget(empty);
}

void InspectorView::setItem(const std::optional<InspectedItem>& item) {
  requireMainThread();
  if (item_ == item) return;
  item_ = item;
}
