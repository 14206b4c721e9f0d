#include "shell/SettingsView.h"

#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "shell/SettingsTabs.h"
#include "widgets/FocusRing.h"
#include "widgets/SideWindow.h"

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
  // The tab bar, drawn without a base, shows its keyboard focus hardly at all.
  FocusRing::attach(*tabBar_, 6);
  // The keys of this desktop's tabbed windows: the next tab, the previous one.
  const std::pair<QList<QKeySequence>, int> tabSwitches[] = {
      {{QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1},
      {{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
        QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
       -1},
  };
  for (const auto& [keys, step] : tabSwitches) {
    auto* shortcut = new QShortcut(this);
    shortcut->setKeys(keys);
    connect(shortcut, &QShortcut::activated, this, [this, step] {
      const int count = tabBar_->count();
      tabBar_->setCurrentIndex((tabBar_->currentIndex() + step + count) % count);
    });
  }
  SideWindow::setUp(*this, QAccessible::Window);
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
