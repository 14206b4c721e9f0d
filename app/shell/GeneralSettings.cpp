#include <QCheckBox>
#include <QFormLayout>
#include <QSettings>
#include <QVBoxLayout>

#include "interface/FormattedByteCount.h"
#include "platform/MainThread.h"
#include "shell/SettingsTabs.h"
#include "shell/StoredSettings.h"
#include "widgets/GroupedForm.h"
#include "widgets/ValuePicker.h"

namespace {

constexpr qlonglong noLimit = 1;
constexpr qlonglong minimumSizes[] = {noLimit, 1024, 10240, 102400, 1048576, 10485760};

// Filled before it listens: only the user's changes are stored, whether made
// by a click, a key or assistive technology (whose toggle emits no click).
QCheckBox* toggle(const QString& text, const char* name, bool checked, void (StoredSettings::*store)(bool)) {
  auto* box = new QCheckBox(text);
  box->setObjectName(QLatin1String(name));
  box->setChecked(checked);
  QObject::connect(box, &QCheckBox::toggled, box, [store](bool on) {
    QSettings settings;
    (StoredSettings(settings).*store)(on);
  });
  return box;
}

}  // namespace

GeneralSettings::GeneralSettings(QWidget* parent) : QWidget(parent), minSize_(new ValuePicker) {
  requireMainThread();
  QSettings settings;
  const StoredSettings stored(settings);

  const QString minSizeLabel = tr("Ignore files smaller than");
  minSize_->setObjectName(QStringLiteral("minSizePicker"));
  minSize_->setAccessibleName(minSizeLabel);
  for (const qlonglong bytes : minimumSizes)
    minSize_->addChoice(bytes == noLimit ? tr("No Limit") : formattedByteCount(static_cast<std::uint64_t>(bytes)),
                        bytes);
  minSize_->showValue(stored.minSize());
  connect(minSize_, &ValuePicker::valueChosen, this, [](qlonglong bytes) {
    QSettings written;
    StoredSettings(written).setMinSize(bytes);
  });
  includeHidden_ = toggle(tr("Include hidden files"), "includeHiddenToggle", stored.includeHidden(),
                          &StoredSettings::setIncludeHidden);
  ignoreCase_ = toggle(tr("Match names regardless of uppercase and lowercase"), "ignoreCaseToggle", stored.ignoreCase(),
                       &StoredSettings::setIgnoreCase);

  auto* rows = new QWidget;
  auto* form = new QFormLayout(rows);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(minSizeLabel, minSize_);
  form->addRow(includeHidden_);
  form->addRow(ignoreCase_);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(20, 20, 20, 20);
  page->setSpacing(6);
  page->addWidget(GroupedForm::section(rows, this));
  page->addWidget(GroupedForm::note(tr("Empty files are always ignored. Changes apply to the next scan."), this));
}
