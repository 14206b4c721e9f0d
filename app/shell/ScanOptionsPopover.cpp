#include "shell/ScanOptionsPopover.h"

#include <QVBoxLayout>

#include "shell/ScanOptionsMenu.h"
#include "platform/MainThread.h"
#include "widgets/GroupedForm.h"

namespace {

constexpr int popoverWidth = 340;

}  // namespace

ScanOptionsPopover::ScanOptionsPopover(ScanOptionsBinding& options, QWidget* parent) : QWidget(parent) {
  requireMainThread();
  setObjectName(QStringLiteral("scanOptionsPopover"));
  setFixedWidth(popoverWidth);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(12, 12, 12, 12);
  column->setSpacing(8);
  column->addWidget(GroupedForm::section(ScanOptionsMenu::formRows(options), this));
  column->addWidget(GroupedForm::note(tr("More options are in Settings."), this));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}
