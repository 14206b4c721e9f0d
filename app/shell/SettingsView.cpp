#include "shell/SettingsView.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "shell/SettingsTabs.h"

namespace {

constexpr int tabViewWidth = 540;

}  // namespace

SettingsView::SettingsView(UpdateService& updates, QWidget* parent) : QWidget(parent), tabs_(new QTabWidget(this)) {
  requireMainThread();
  setObjectName(QStringLiteral("settingsWindow"));
  QPalette tinted = palette();
  tinted.setColor(QPalette::Highlight, Palette::brand());
  setPalette(tinted);

  tabs_->setFixedWidth(tabViewWidth);
  tabs_->setDocumentMode(true);
  tabs_->addTab(new GeneralSettings, Icons::symbol(QStringLiteral("gearshape")), tr("General"));
  tabs_->addTab(new AdvancedSettings, Icons::symbol(QStringLiteral("slider.horizontal.3")), tr("Advanced"));
  tabs_->addTab(new UpdateSettings(updates), Icons::symbol(QStringLiteral("arrow.triangle.2.circlepath")),
                tr("Updates"));
  connect(tabs_, &QTabWidget::currentChanged, this, &SettingsView::fitToTab);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(tabs_);
  fitToTab(tabs_->currentIndex());
}

// Only the shown tab counts towards the window's height.
void SettingsView::fitToTab(int index) {
  for (int tab = 0; tab < tabs_->count(); ++tab)
    tabs_->widget(tab)->setSizePolicy(QSizePolicy::Preferred,
                                      tab == index ? QSizePolicy::Preferred : QSizePolicy::Ignored);
  setWindowTitle(tabs_->tabText(index));
}
