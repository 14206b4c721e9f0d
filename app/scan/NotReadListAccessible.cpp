#include "scan/NotReadListAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QListView>
#include <QPointer>

#include "platform/AccessibleRole.h"
#include "platform/MainThread.h"
#include "scan/NotReadListModel.h"

namespace {

bool isHeading(const QModelIndex& index) { return index.data(NotReadListModel::IsHeadingRole).toBool(); }

class RowAccessible final : public QAccessibleInterface {
 public:
  RowAccessible(QListView* view, int row) : view_(view), row_(row) {}

  int row() const { return row_; }

  bool isValid() const override { return view_ != nullptr && row_ < view_->model()->rowCount(); }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text text) const override {
    return text == QAccessible::Name ? index().data(Qt::AccessibleTextRole).toString() : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect area = view_->visualRect(index());
    return {view_->viewport()->mapToGlobal(area.topLeft()), area.size()};
  }
  QAccessible::Role role() const override { return isHeading(index()) ? QAccessible::Heading : QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) return state;
    const QModelIndex row = index();
    state.invisible = !view_->viewport()->rect().intersects(view_->visualRect(row));
    if (!isHeading(row)) {
      state.selectable = true;
      state.focusable = true;
      state.selected = view_->selectionModel()->isSelected(row);
      state.focused = view_->currentIndex() == row;
    }
    return state;
  }

 private:
  QModelIndex index() const { return isValid() ? view_->model()->index(row_, 0) : QModelIndex(); }

  QPointer<QListView> view_;
  int row_;
};

// Row interfaces are made on demand and registered, as Qt's own views do:
// the events a list view sends name a row by its number.
class ListAccessible final : public QAccessibleWidget {
 public:
  explicit ListAccessible(QListView* view) : QAccessibleWidget(view, QAccessible::List) {}
  ~ListAccessible() override {
    for (const QAccessible::Id id : std::as_const(rows_)) QAccessible::deleteAccessibleInterface(id);
  }

  int childCount() const override { return view().model()->rowCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto found = rows_.constFind(index); found != rows_.cend())
      return QAccessible::accessibleInterface(*found);
    auto* row = new RowAccessible(&view(), index);
    rows_.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* row = dynamic_cast<const RowAccessible*>(child);
    return row != nullptr ? row->row() : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QModelIndex index = view().indexAt(view().viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(index.row()) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const QModelIndex current = view().currentIndex();
    return view().hasFocus() && current.isValid() ? child(current.row()) : nullptr;
  }

 private:
  QListView& view() const { return *static_cast<QListView*>(widget()); }

  mutable QHash<int, QAccessible::Id> rows_;
};

QAccessibleInterface* factory(const QString&, QObject* object) {
  auto* view = qobject_cast<QListView*>(object);
  return view != nullptr && qobject_cast<NotReadListModel*>(view->model()) != nullptr ? new ListAccessible(view)
                                                                                      : nullptr;
}

}  // namespace

void NotReadListAccessible::install(QListView& view) {
  requireMainThread();
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
  forgetAccessibleInterface(view);
}
