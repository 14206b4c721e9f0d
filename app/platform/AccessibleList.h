// A list view whose rows are painted, as assistive technology reads it: the
// list, and each row one element named by its Qt::AccessibleTextRole (else
// its text) and described by its Qt::AccessibleDescriptionRole, a heading
// where the list says so, with the actions the list offers on its rows; the
// rows of a hidden list neither show nor take room on screen. Qt's own
// interface for a list view makes every row an item, lets a row offer no
// action of the list's own, and has the rows of a hidden list show where its
// last place was. Main thread only.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>

class QListView;
class QModelIndex;

namespace AccessibleList {

struct RowAction {
  // What assistive technology calls the action, in English, and its title.
  QString name;
  QString title;
  // The key that does the same to the selected rows.
  QKeySequence keys;
  std::function<bool(const QListView&, int row)> offered;
  std::function<void(QListView&, int row)> perform;
};

struct Rows {
  // Rows that head a section: read as headings, never selectable. None when empty.
  std::function<bool(const QModelIndex&)> isHeading = {};
  QList<RowAction> actions = {};
};

void install(QListView& view, Rows rows);

}  // namespace AccessibleList
