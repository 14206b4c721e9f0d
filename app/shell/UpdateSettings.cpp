#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/MainThread.h"
#include "shell/SettingsTabs.h"
#include "shell/UpdateService.h"
#include "widgets/GroupedForm.h"

UpdateSettings::UpdateSettings(UpdateService& updates, QWidget* parent)
    : QWidget(parent), updates_(updates), lastCheck_(new QLabel) {
  requireMainThread();
  auto* automatic = new QCheckBox(tr("Check for updates automatically"));
  automatic->setObjectName(QStringLiteral("automaticChecksToggle"));
  automatic->setChecked(updates_.automaticallyChecks());
  // Every change of the user's, assistive technology's toggle included, goes
  // to the service; the service's own changes are only shown.
  connect(automatic, &QCheckBox::toggled, &updates_, &UpdateService::setAutomaticallyChecks);
  connect(&updates_, &UpdateService::automaticallyChecksChanged, automatic, [automatic](bool automatically) {
    const QSignalBlocker quiet(automatic);
    automatic->setChecked(automatically);
  });

  // The value is named by its text, "Never" or the date; the row's label,
  // its buddy, labels it for assistive technology.
  lastCheck_->setObjectName(QStringLiteral("lastCheckedValue"));
  lastCheck_->setTextFormat(Qt::PlainText);
  lastCheck_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* checkNow = new QPushButton(tr("Check Now"));
  checkNow->setObjectName(QStringLiteral("checkNowButton"));
  checkNow->setEnabled(updates_.canCheckForUpdates());
  connect(&updates_, &UpdateService::canCheckForUpdatesChanged, checkNow, &QPushButton::setEnabled);
  connect(checkNow, &QPushButton::clicked, this, [this] {
    requireMainThread();
    updates_.updater().checkForUpdates();
  });

  auto* rows = new QWidget;
  auto* form = new QFormLayout(rows);
  form->setContentsMargins(0, 0, 0, 0);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->addRow(automatic);
  form->addRow(tr("Last checked"), lastCheck_);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(20, 20, 20, 20);
  page->setSpacing(8);
  page->addWidget(GroupedForm::section(rows, this));
  page->addWidget(GroupedForm::note(
      tr("Quelmaris connects to the internet only to check for updates. Nothing about your files is sent."), this));
  page->addWidget(checkNow, 0, Qt::AlignRight);
}

void UpdateSettings::showEvent(QShowEvent* event) {
  const std::optional<QDateTime> last = updates_.updater().lastUpdateCheckDate();
  lastCheck_->setText(last ? QLocale().toString(last->toLocalTime(), QLocale::ShortFormat) : tr("Never"));
  QWidget::showEvent(event);
}
