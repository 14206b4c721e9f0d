#include <QFontDatabase>
#include <QFormLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/MainThread.h"
#include "shell/SettingsTabs.h"
#include "shell/StoredSettings.h"
#include "widgets/GroupedForm.h"
#include "widgets/ListEditor.h"
#include "widgets/ValuePicker.h"

namespace {

constexpr int editorHeight = 90;
constexpr qlonglong readCounts[] = {1, 2, 4, 8, 16};

// Stores the editor's whole text on every change the user makes.
QPlainTextEdit* listEditor(const QString& name, const char* objectName, void (StoredSettings::*store)(const QString&)) {
  auto* editor = new ListEditor;
  editor->setObjectName(QLatin1String(objectName));
  editor->setAccessibleName(name);
  editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  editor->setFixedHeight(editorHeight);
  editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [editor, store] {
    QSettings settings;
    (StoredSettings(settings).*store)(editor->toPlainText());
  });
  return editor;
}

QWidget* listSection(const QString& title, QPlainTextEdit* editor, const QString& footer, QWidget* parent) {
  auto* section = new QWidget(parent);
  auto* column = new QVBoxLayout(section);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(6);
  column->addWidget(GroupedForm::header(title, section));
  column->addWidget(GroupedForm::section(editor, section));
  column->addWidget(GroupedForm::note(footer, section));
  return section;
}

}  // namespace

AdvancedSettings::AdvancedSettings(QWidget* parent)
    : QWidget(parent),
      excludedNames_(listEditor(tr("Ignored Names"), "excludedNamesEditor", &StoredSettings::setExcludedNames)),
      packageExtensions_(listEditor(tr("Packages"), "packageExtensionsEditor", &StoredSettings::setPackageExtensions)),
      ioParallelism_(new ValuePicker) {
  requireMainThread();
  const QString readsLabel = tr("Files read at the same time");
  ioParallelism_->setObjectName(QStringLiteral("ioParallelismPicker"));
  ioParallelism_->setAccessibleName(readsLabel);
  ioParallelism_->addChoice(tr("Automatic"), 0);
  ioParallelism_->insertSeparator(1);
  for (const qlonglong reads : readCounts) ioParallelism_->addChoice(QLocale().toString(reads), reads);
  connect(ioParallelism_, &ValuePicker::valueChosen, this, [](qlonglong reads) {
    QSettings settings;
    StoredSettings(settings).setIoParallelism(reads);
  });

  auto* restore = new QPushButton(tr("Restore Defaults"));
  restore->setObjectName(QStringLiteral("restoreDefaultsButton"));
  connect(restore, &QPushButton::clicked, this, [this] {
    requireMainThread();
    QSettings settings;
    StoredSettings(settings).restoreAdvancedDefaults();
    refresh();
  });

  auto* rows = new QWidget;
  auto* form = new QFormLayout(rows);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(readsLabel, ioParallelism_);
  auto* footer = new QVBoxLayout;
  footer->setSpacing(8);
  footer->addWidget(GroupedForm::note(
      tr("Automatic reads one file at a time from spinning disks and one per processor core from SSDs."), this));
  footer->addWidget(restore, 0, Qt::AlignRight);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(20, 20, 20, 20);
  page->setSpacing(14);
  page->addWidget(listSection(tr("Ignored Names"), excludedNames_,
                              tr("One per line. * matches any characters; \\r is a carriage return."), this));
  page->addWidget(listSection(tr("Packages"), packageExtensions_,
                              tr("Folders with these extensions are treated as single items and not searched."), this));
  auto* readsSection = new QVBoxLayout;
  readsSection->setSpacing(6);
  readsSection->addWidget(GroupedForm::section(rows, this));
  readsSection->addLayout(footer);
  page->addLayout(readsSection);
  refresh();
}

void AdvancedSettings::refresh() {
  QSettings settings;
  const StoredSettings stored(settings);
  for (const auto& [editor, text] :
       {std::pair{excludedNames_, stored.excludedNames()}, std::pair{packageExtensions_, stored.packageExtensions()}}) {
    const QSignalBlocker blocker(editor);
    editor->setPlainText(text);
  }
  ioParallelism_->showValue(stored.ioParallelism());
}
