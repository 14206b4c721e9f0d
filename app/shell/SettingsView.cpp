#include "shell/SettingsView.h"

#include <QTabBar>
#include <QVBoxLayout>

#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "shell/SettingsTabs.h"

namespace {

constexpr int tabViewWidth = 540;

}  // namespace

// Only the page of the shown tab is in view, so that the window, whose size
// is fixed to its content, takes that page's height.
SettingsView::SettingsView(UpdateService& updates, QWidget* parent) : QWidget(parent), tabBar_(new QTabBar(this)) {
  requireMainThread();
  setObjectName(QStringLiteral("settingsWindow"));
  QPalette tinted = palette();
  tinted.setColor(QPalette::Highlight, Palette::brand());
  setPalette(tinted);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 8, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(tabBar_, 0, Qt::AlignHCenter);
  tabBar_->setDrawBase(false);
  addTab(new GeneralSettings(this), "gearshape", tr("General"));
  addTab(new AdvancedSettings(this), "slider.horizontal.3", tr("Advanced"));
  addTab(new UpdateSettings(updates, this), "arrow.triangle.2.circlepath", tr("Updates"));
  connect(tabBar_, &QTabBar::currentChanged, this, &SettingsView::showTab);
  showTab(tabBar_->currentIndex());
}

void SettingsView::addTab(QWidget* page, const char* symbol, const QString& title) {
  tabBar_->addTab(Icons::symbol(QLatin1String(symbol)), title);
  page->setFixedWidth(tabViewWidth);
  page->hide();
  layout()->addWidget(page);
  pages_.append(page);
}

void SettingsView::showTab(int index) {
  for (int tab = 0; tab < pages_.size(); ++tab) pages_[tab]->setVisible(tab == index);
  setWindowTitle(tabBar_->tabText(index));
}
