#include "scan/NotReadListModel.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

#include "platform/CountArgument.h"
#include "platform/PlainToolTip.h"

namespace {

// The C locale, which CI runs under, ignores the numeric ordering: fall back
// to English there.
QLocale collationLocale() {
  const QLocale current;
  return current.language() == QLocale::C ? QLocale(QLocale::English) : current;
}

}  // namespace

NotReadListModel::NotReadListModel(QList<Entry> folders, QList<Entry> items, QObject* parent)
    : QAbstractListModel(parent) {
  if (!folders.isEmpty()) {
    rows_.append({true, tr("Folders"), {}});
    for (const Entry& entry : folders) rows_.append({false, entry.path, entry.reason});
  }
  if (!items.isEmpty()) {
    sortByPath(items);
    rows_.append({true, tr("%Ln item(s)", nullptr, countArgument(items.size())), {}});
    for (const Entry& entry : items) rows_.append({false, entry.path, entry.reason});
  }
}

int NotReadListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant NotReadListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const Row& row = rows_.at(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return row.text;
    case ReasonRole:
      return row.heading ? QVariant() : QVariant(row.reason);
    case IsHeadingRole:
      return row.heading;
    case Qt::ToolTipRole:
      return row.heading ? QVariant() : QVariant(plainToolTip(row.text));
    case Qt::AccessibleTextRole:
      return row.heading ? row.text : row.text + QStringLiteral(", ") + row.reason;
    default:
      return {};
  }
}

Qt::ItemFlags NotReadListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return rows_.at(index.row()).heading ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void NotReadListModel::sortByPath(QList<Entry>& entries) {
  QCollator collator(collationLocale());
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(entries.begin(), entries.end(),
                   [&collator](const Entry& a, const Entry& b) { return collator.compare(a.path, b.path) < 0; });
}
