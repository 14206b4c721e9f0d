#include "shell/ScanOptionsMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QMenu>
#include <QWidget>

#include "shell/ScanOptionsBinding.h"
#include "platform/MainThread.h"
#include "widgets/DropDownEscape.h"

namespace {

template <class Choice>
QString objectNameOf(const char* prefix, Choice choice) {
  return QLatin1String(prefix) + u'_' + rawValue(choice);
}

// A submenu of checkable choices, one per case, tagged with the case.
template <class Choice, std::size_t N>
void addChoiceMenu(QMenu& menu, const QString& title, const char* namePrefix, const std::array<Choice, N>& cases,
                   ScanOptionsBinding& options, Choice ScanOptions::*field) {
  QMenu* choices = menu.addMenu(title);
  choices->setObjectName(QLatin1String(namePrefix) + QStringLiteral("Menu"));
  auto* group = new QActionGroup(choices);
  for (const Choice choice : cases) {
    QAction* action = choices->addAction(::title(choice));
    action->setObjectName(objectNameOf(namePrefix, choice));
    action->setCheckable(true);
    action->setData(rawValue(choice));
    group->addAction(action);
    QObject::connect(action, &QAction::triggered, &options,
                     [&options, field, choice] { options.edit([&](ScanOptions& o) { o.*field = choice; }); });
  }
  const auto refresh = [&options, group, field] {
    const QString current = rawValue(options.get().*field);
    for (QAction* action : group->actions()) action->setChecked(action->data().toString() == current);
  };
  refresh();
  QObject::connect(&options, &ScanOptionsBinding::changed, group, refresh);
  QObject::connect(&menu, &QMenu::aboutToShow, group, refresh);
}

QAction* addVerifyItem(QMenu& menu, ScanOptionsBinding& options) {
  QAction* verify = menu.addAction(QCoreApplication::translate("ScanOptionsMenu", "Verify Content"));
  verify->setObjectName(QStringLiteral("verifyContentAction"));
  verify->setCheckable(true);
  QObject::connect(verify, &QAction::triggered, &options,
                   [&options](bool on) { options.edit([on](ScanOptions& o) { o.verifyContent = on; }); });
  const auto refresh = [&options, verify] {
    const ScanOptions current = options.get();
    verify->setChecked(current.verifyContent);
    verify->setEnabled(current.criterion != MatchCriterion::contentOnly);
  };
  refresh();
  QObject::connect(&options, &ScanOptionsBinding::changed, verify, refresh);
  QObject::connect(&menu, &QMenu::aboutToShow, verify, refresh);
  return verify;
}

template <class Choice, std::size_t N>
QComboBox* choiceBox(const char* objectName, const std::array<Choice, N>& cases, ScanOptionsBinding& options,
                     Choice ScanOptions::*field, QWidget* parent) {
  auto* box = new QComboBox(parent);
  DropDownEscape::closeDropDownAlone(*box);
  box->setObjectName(QLatin1String(objectName));
  for (const Choice choice : cases) box->addItem(title(choice), rawValue(choice));
  const auto refresh = [&options, box, field] {
    const QSignalBlocker quiet(box);
    box->setCurrentIndex(box->findData(rawValue(options.get().*field)));
  };
  refresh();
  QObject::connect(box, &QComboBox::activated, &options, [&options, cases, field](int index) {
    options.edit([&](ScanOptions& o) { o.*field = cases.at(static_cast<std::size_t>(index)); });
  });
  QObject::connect(&options, &ScanOptionsBinding::changed, box, refresh);
  return box;
}

QCheckBox* verifyBox(ScanOptionsBinding& options, QWidget* parent) {
  auto* box = new QCheckBox(QCoreApplication::translate("ScanOptionsMenu", "Verify Content"), parent);
  box->setObjectName(QStringLiteral("verifyContentBox"));
  const auto refresh = [&options, box] {
    const QSignalBlocker quiet(box);
    const ScanOptions current = options.get();
    box->setChecked(current.verifyContent);
    box->setEnabled(current.criterion != MatchCriterion::contentOnly);
  };
  refresh();
  QObject::connect(box, &QCheckBox::toggled, &options,
                   [&options](bool on) { options.edit([on](ScanOptions& o) { o.verifyContent = on; }); });
  QObject::connect(&options, &ScanOptionsBinding::changed, box, refresh);
  return box;
}

}  // namespace

namespace ScanOptionsMenu {

void addItems(QMenu& menu, ScanOptionsBinding& options) {
  requireMainThread();
  addChoiceMenu(menu, QCoreApplication::translate("ScanOptionsMenu", "Match"), "match", allMatchCriteria, options, &ScanOptions::criterion);
  addVerifyItem(menu, options);
  addChoiceMenu(menu, QCoreApplication::translate("ScanOptionsMenu", "Keep"), "keep", allKeepChoices, options, &ScanOptions::keep);
}

QWidget* formRows(ScanOptionsBinding& options, QWidget* parent) {
  requireMainThread();
  auto* rows = new QWidget(parent);
  auto* form = new QFormLayout(rows);
  form->setContentsMargins(0, 0, 0, 0);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setHorizontalSpacing(12);
  form->setVerticalSpacing(10);
  form->addRow(QCoreApplication::translate("ScanOptionsMenu", "Match"), choiceBox("matchBox", allMatchCriteria, options, &ScanOptions::criterion, rows));
  form->addRow(QString(), verifyBox(options, rows));
  form->addRow(QCoreApplication::translate("ScanOptionsMenu", "Keep"), choiceBox("keepBox", allKeepChoices, options, &ScanOptions::keep, rows));
  return rows;
}

}  // namespace ScanOptionsMenu
