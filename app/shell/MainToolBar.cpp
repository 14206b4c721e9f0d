#include "shell/MainToolBar.h"

#include <QPushButton>
#include <QToolButton>

#include "folders/FolderStore.h"
#include "platform/ButtonStyles.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "scan/ScanStore.h"
#include "shell/OptionsButton.h"
#include "shell/ScanCommands.h"
#include "shell/ScanOptionsBinding.h"
#include "trash/TrashService.h"
#include "widgets/FocusRing.h"

namespace {

constexpr int fixedGap = 10;
constexpr int scanButtonRadius = 6;
constexpr int optionsButtonRadius = 4;

QWidget* gap(int width, QSizePolicy::Policy policy) {
  auto* spacer = new QWidget;
  spacer->setFixedHeight(1);
  spacer->setMinimumWidth(width);
  spacer->setSizePolicy(policy, QSizePolicy::Preferred);
  return spacer;
}

}  // namespace

MainToolBar::MainToolBar(FolderStore& folders, ScanStore& scan, const TrashService& trash, ScanOptionsBinding& options,
                         QWidget* parent)
    : QToolBar(parent),
      folders_(folders),
      scan_(scan),
      trash_(trash),
      options_(options),
      optionsButton_(new OptionsButton(options)) {
  requireMainThread();
  setObjectName(QStringLiteral("mainToolBar"));
  setAccessibleName(tr("Toolbar"));
  setMovable(false);
  setFloatable(false);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setIconSize(QSize(16, 16));
  // The button Qt adds for items a narrow window cannot show comes unnamed.
  if (auto* more = findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
    more->setAccessibleName(tr("More Toolbar Items"));
  setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 6px 12px; border: none;"
                               " border-bottom: 1px solid %1; }")
                    .arg(Palette::separator().name(QColor::HexArgb)));
  addWidget(gap(0, QSizePolicy::Expanding));
  addWidget(optionsButton_);
  // The tool button's own focus mark, inside it, all but vanishes.
  FocusRing::attach(*optionsButton_, optionsButtonRadius);
  addWidget(gap(fixedGap, QSizePolicy::Fixed));
  addWidget(makeScanButton());

  connect(&scan_, &ScanStore::stateChanged, this, &MainToolBar::updateScanButton);
  connect(&folders_, &FolderStore::foldersChanged, this, &MainToolBar::updateScanButton);
  connect(&trash_, &TrashService::isMovingChanged, this, &MainToolBar::updateScanButton);
  updateScanButton();
}

bool MainToolBar::showsOptions() const { return optionsButton_->popover()->isVisible(); }

QPushButton* MainToolBar::makeScanButton() {
  scanButton_ = new QPushButton(this);
  scanButton_->setObjectName(QStringLiteral("scanButton"));
  scanButton_->setCursor(Qt::PointingHandCursor);
  scanButton_->setMinimumWidth(76);
  FocusRing::attach(*scanButton_, scanButtonRadius);
  connect(scanButton_, &QPushButton::clicked, this, &MainToolBar::scanButtonClicked);
  return scanButton_;
}

void MainToolBar::setDetailItems(QWidget* items) {
  requireMainThread();
  // The action owns the widget and deletes it with itself.
  delete std::exchange(detailItems_, nullptr);
  if (items != nullptr) detailItems_ = addWidget(items);
}

bool MainToolBar::detailItemsContain(const QWidget* widget) const {
  const QWidget* items = detailItems_ != nullptr ? widgetForAction(detailItems_) : nullptr;
  return items != nullptr && (items == widget || items->isAncestorOf(widget));
}

void MainToolBar::updateScanButton() {
  if (ScanCommands::canStop(scan_)) {
    scanButton_->setText(tr("Stop"));
    scanButton_->setToolTip(tr("Stop the scan (⌘.)"));
    ButtonStyles::makeProminent(*scanButton_, Palette::systemRed(), QStringLiteral("stop.fill"));
    scanButton_->setEnabled(true);
  } else {
    scanButton_->setText(tr("Scan"));
    scanButton_->setToolTip(tr("Look for duplicates in the folders in the sidebar (⌘R)"));
    ButtonStyles::makeProminent(*scanButton_, Palette::brand());
    scanButton_->setEnabled(ScanCommands::canStart(folders_, scan_, trash_));
  }
}

void MainToolBar::scanButtonClicked() {
  requireMainThread();
  if (scan_.state().is<ScanStore::State::scanning>())
    ScanCommands::stop(scan_);
  else
    ScanCommands::start(folders_, scan_, trash_, options_.get());
}
