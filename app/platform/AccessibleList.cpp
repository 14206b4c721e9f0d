#include "platform/AccessibleList.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QListView>
#include <QPointer>
#include <algorithm>

#include "platform/AccessibleRole.h"
#include "platform/MainThread.h"

namespace {

using AccessibleList::RowAction;
using AccessibleList::Rows;

QHash<const QListView*, Rows>& installed() {
  static auto* lists = new QHash<const QListView*, Rows>;
  return *lists;
}

class RowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  RowAccessible(QListView* view, const Rows& rows, int row) : view_(view), rows_(rows), row_(row) {}

  int row() const { return row_; }

  bool isValid() const override { return view_ != nullptr && row_ < view_->model()->rowCount(); }
  QObject* object() const override { return nullptr; }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text text) const override {
    if (!isValid()) return {};
    switch (text) {
      case QAccessible::Name: {
        const QString name = index().data(Qt::AccessibleTextRole).toString();
        return name.isEmpty() ? index().data().toString() : name;
      }
      case QAccessible::Description:
        return index().data(Qt::AccessibleDescriptionRole).toString();
      default:
        return {};
    }
  }
  void setText(QAccessible::Text, const QString&) override {}
  // A hidden list (collapsed) keeps its rows' layout; none of them shows.
  QRect rect() const override {
    if (!isValid() || !view_->isVisible()) return {};
    const QRect area = view_->visualRect(index());
    return {view_->viewport()->mapToGlobal(area.topLeft()), area.size()};
  }
  QAccessible::Role role() const override { return isHeading() ? QAccessible::Heading : QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) return state;
    const QModelIndex row = index();
    state.invisible = !view_->isVisible() || !view_->viewport()->rect().intersects(view_->visualRect(row));
    if (!isHeading() && view_->selectionMode() != QAbstractItemView::NoSelection) {
      state.selectable = true;
      state.focusable = true;
      state.selected = view_->selectionModel()->isSelected(row);
      state.focused = view_->currentIndex() == row;
    }
    return state;
  }

  QStringList actionNames() const override {
    QStringList names;
    for (const RowAction& action : rows_.actions)
      if (isValid() && action.offered(*view_, row_)) names.append(action.name);
    return names;
  }
  void doAction(const QString& name) override {
    if (const RowAction* action = offered(name)) action->perform(*view_, row_);
  }
  QString localizedActionName(const QString& name) const override {
    const RowAction* action = offered(name);
    return action != nullptr ? action->title : QString();
  }
  QString localizedActionDescription(const QString& name) const override { return localizedActionName(name); }
  QStringList keyBindingsForAction(const QString& name) const override {
    const RowAction* action = offered(name);
    return action != nullptr ? QStringList{action->keys.toString(QKeySequence::NativeText)} : QStringList();
  }

 private:
  QModelIndex index() const { return view_->model()->index(row_, 0); }
  bool isHeading() const { return rows_.isHeading && rows_.isHeading(index()); }
  const RowAction* offered(const QString& name) const {
    if (!isValid()) return nullptr;
    const auto found = std::find_if(rows_.actions.cbegin(), rows_.actions.cend(),
                                    [&](const RowAction& action) { return action.name == name; });
    return found != rows_.actions.cend() && found->offered(*view_, row_) ? &*found : nullptr;
  }

  QPointer<QListView> view_;
  Rows rows_;
  int row_;
};

// Row interfaces are made on demand and registered, as Qt's own views do:
// the events a list view sends name a row by its number.
class ListAccessible final : public QAccessibleWidget {
 public:
  ListAccessible(QListView* view, Rows rows) : QAccessibleWidget(view, QAccessible::List), rows_(std::move(rows)) {}
  ~ListAccessible() override {
    for (const QAccessible::Id id : std::as_const(children_)) QAccessible::deleteAccessibleInterface(id);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.multiSelectable = view().selectionMode() == QAbstractItemView::ExtendedSelection ||
                            view().selectionMode() == QAbstractItemView::MultiSelection;
    return state;
  }
  int childCount() const override { return view().model()->rowCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto found = children_.constFind(index); found != children_.cend())
      return QAccessible::accessibleInterface(*found);
    auto* row = new RowAccessible(&view(), rows_, index);
    children_.insert(index, QAccessible::registerAccessibleInterface(row));
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

  Rows rows_;
  mutable QHash<int, QAccessible::Id> children_;
};

QAccessibleInterface* factory(const QString&, QObject* object) {
  auto* view = qobject_cast<QListView*>(object);
  const auto found = view != nullptr ? installed().constFind(view) : installed().cend();
  return found != installed().cend() ? new ListAccessible(view, *found) : nullptr;
}

}  // namespace

namespace AccessibleList {

void install(QListView& view, Rows rows) {
  requireMainThread();
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)factoryInstalled;
  if (!installed().contains(&view))
    QObject::connect(&view, &QObject::destroyed, [key = &view] { installed().remove(key); });
  installed().insert(&view, std::move(rows));
  forgetAccessibleInterface(view);
}

}  // namespace AccessibleList
