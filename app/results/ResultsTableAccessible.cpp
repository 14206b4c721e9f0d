#include "results/ResultsTableAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>

#include "platform/AccessibleRole.h"
#include "platform/MainThread.h"
#include "results/ResultsModel.h"
#include "results/ResultsTable.h"

namespace {

// The rows as the tree view shows them: each top-level row, followed by its
// children while it is expanded. The results have two levels.
int shownChildren(const QTreeView& view, int top) {
  const QModelIndex parent = view.model()->index(top, 0);
  return view.isExpanded(parent) ? view.model()->rowCount(parent) : 0;
}

int shownRowCount(const QTreeView& view) {
  const int tops = view.model()->rowCount();
  int rows = tops;
  for (int top = 0; top < tops; ++top) rows += shownChildren(view, top);
  return rows;
}

// -1 for a row under a collapsed one.
int shownRow(const QTreeView& view, const QModelIndex& index) {
  const QModelIndex parent = index.parent();
  const int top = parent.isValid() ? parent.row() : index.row();
  int row = 0;
  for (int before = 0; before < top; ++before) row += 1 + shownChildren(view, before);
  if (!parent.isValid()) return row;
  return view.isExpanded(parent) ? row + 1 + index.row() : -1;
}

QModelIndex shownIndex(const QTreeView& view, int row, int column) {
  const QAbstractItemModel& model = *view.model();
  const int tops = model.rowCount();
  for (int top = 0; top < tops && row >= 0; ++top, --row) {
    if (row == 0) return model.index(top, column);
    const int children = shownChildren(view, top);
    if (row <= children) return model.index(row - 1, column, model.index(top, 0));
    row -= children;
  }
  return {};
}

QRect globalRect(const QWidget& widget, const QRect& area) { return {widget.mapToGlobal(area.topLeft()), area.size()}; }

// A cell without children of its own, in the table's interface.
class Leaf : public QAccessibleInterface {
 public:
  explicit Leaf(ResultsTable* table) : table_(table) {}

  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(table_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}

 protected:
  QPointer<ResultsTable> table_;
};

class HeaderCell final : public Leaf {
 public:
  HeaderCell(ResultsTable* table, int column) : Leaf(table), column_(column) {}

  int column() const { return column_; }

  bool isValid() const override { return table_ != nullptr && column_ < table_->model()->columnCount(); }
  QString text(QAccessible::Text text) const override {
    if (!isValid() || text != QAccessible::Name) return {};
    return table_->model()->headerData(column_, Qt::Horizontal).toString();
  }
  QRect rect() const override {
    if (!isValid()) return {};
    const QHeaderView& header = *table_->header();
    const QRect area(header.sectionViewportPosition(column_), 0, header.sectionSize(column_), header.height());
    return globalRect(header, area);
  }
  QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
  QAccessible::State state() const override { return {}; }

 private:
  int column_;
};

class Cell final : public Leaf, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
 public:
  Cell(ResultsTable* table, const QModelIndex& index) : Leaf(table), index_(index), announced_(state()) {}

  const QPersistentModelIndex& index() const { return index_; }
  // A copy's Name cell: its mark.
  bool isMark() const {
    return index_.column() == ResultsModel::nameColumn && !index_.data(Qt::CheckStateRole).isNull();
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface && isMark()) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  bool isValid() const override { return table_ != nullptr && index_.isValid(); }
  QString text(QAccessible::Text text) const override {
    if (!isValid()) return {};
    if (text == QAccessible::Description) return index_.data(Qt::AccessibleDescriptionRole).toString();
    if (text != QAccessible::Name) return {};
    if (isMark()) return index_.data(ResultsModel::MarkLabelRole).toString();
    const QString name = index_.data(Qt::AccessibleTextRole).toString();
    return name.isEmpty() ? index_.data().toString() : name;
  }
  QRect rect() const override {
    return isValid() ? globalRect(*table_->viewport(), table_->visualRect(index_)) : QRect();
  }
  QAccessible::Role role() const override { return isMark() ? QAccessible::CheckBox : QAccessible::TreeItem; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) return state;
    const ResultsTable& view = *table_;
    state.invisible = !view.viewport()->rect().intersects(view.visualRect(index_));
    if (index_.flags().testFlag(Qt::ItemIsSelectable)) {
      state.selectable = true;
      state.focusable = true;
      state.extSelectable = view.selectionMode() == QAbstractItemView::ExtendedSelection;
      state.multiSelectable = view.selectionMode() == QAbstractItemView::MultiSelection;
    }
    state.selected = view.selectionModel()->isSelected(index_);
    state.focused = view.currentIndex() == index_;
    if (isMark()) {
      state.checkable = true;
      state.checked = index_.data(Qt::CheckStateRole).toInt() == Qt::Checked;
      state.disabled = !index_.data(ResultsModel::CanMarkRole).toBool();
    } else {
      state.expandable = view.model()->hasChildren(index_);
      state.expanded = view.isExpanded(index_);
    }
    return state;
  }

  // Tells assistive technology that the mark was checked or unchecked, or
  // became enabled or disabled, since it was last told; one event each, as
  // the bridge reads one kind of change from an event.
  void announceChanges() {
    if (!isValid() || !isMark()) return;
    const QAccessible::State now = state();
    QAccessible::State checked, disabled;
    checked.checked = now.checked != announced_.checked;
    disabled.disabled = now.disabled != announced_.disabled;
    announced_ = now;
    for (const QAccessible::State& change : {checked, disabled}) {
      if (!change.checked && !change.disabled) continue;
      QAccessibleStateChangeEvent event(this, change);
      QAccessible::updateAccessibility(&event);
    }
  }

  bool isSelected() const override { return isValid() && table_->selectionModel()->isSelected(index_); }
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    QAccessibleInterface* header = isValid() ? table()->child(index_.column()) : nullptr;
    return header != nullptr ? QList{header} : QList<QAccessibleInterface*>();
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return index_.column(); }
  int rowIndex() const override { return isValid() ? shownRow(*table_, index_) : -1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  QStringList actionNames() const override { return {toggleAction()}; }
  void doAction(const QString& name) override {
    if (name == toggleAction() && isValid()) table_->toggleMark(index_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPersistentModelIndex index_;
  QAccessible::State announced_;
};

// Cell interfaces are made on demand and kept, as the bridge names them by
// their registered id; a reset of the model, the one way the results change
// their rows, forgets them.
class Tree final : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit Tree(ResultsTable* table) : QAccessibleWidget(table, QAccessible::Tree) {
    const QAbstractItemModel* model = table->model();
    QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, &watcher_, [this] { forgetCells(); });
    QObject::connect(model, &QAbstractItemModel::dataChanged, &watcher_,
                     [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                       announceMarks([&](const QModelIndex& index) {
                         return index.parent() == topLeft.parent() && index.row() >= topLeft.row() &&
                                index.row() <= bottomRight.row() && index.column() >= topLeft.column() &&
                                index.column() <= bottomRight.column();
                       });
                     });
    QObject::connect(model, &QAbstractItemModel::layoutChanged, &watcher_,
                     [this] { announceMarks([](const QModelIndex&) { return true; }); });
  }
  ~Tree() override {
    forgetCells();
    for (const QAccessible::Id id : std::as_const(headers_)) QAccessible::deleteAccessibleInterface(id);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  int childCount() const override { return (shownRowCount(view()) + 1) * columnCount(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0) return nullptr;
    if (index < columnCount()) return header(index);
    return cell(shownIndex(view(), index / columnCount() - 1, index % columnCount()));
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (const auto* header = dynamic_cast<const HeaderCell*>(child)) return header->column();
    const auto* item = dynamic_cast<const Cell*>(child);
    if (item == nullptr || !item->isValid()) return -1;
    const int row = shownRow(view(), item->index());
    return row < 0 ? -1 : (row + 1) * columnCount() + item->index().column();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    return cell(view().indexAt(view().viewport()->mapFromGlobal(QPoint(x, y))));
  }
  QAccessibleInterface* focusChild() const override {
    return view().hasFocus() ? cell(view().currentIndex()) : nullptr;
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override { return cell(shownIndex(view(), row, column)); }
  int columnCount() const override { return view().model()->columnCount(); }
  int rowCount() const override { return shownRowCount(view()); }
  QString columnDescription(int column) const override {
    return view().model()->headerData(column, Qt::Horizontal).toString();
  }
  QString rowDescription(int) const override { return {}; }
  int selectedCellCount() const override { return int(selection().selectedIndexes().size()); }
  int selectedColumnCount() const override { return int(selection().selectedColumns().size()); }
  int selectedRowCount() const override { return int(selection().selectedRows().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (const QModelIndex& index : selection().selectedIndexes()) cells.append(cell(index));
    return cells;
  }
  QList<int> selectedColumns() const override {
    QList<int> columns;
    for (const QModelIndex& index : selection().selectedColumns()) columns.append(index.column());
    return columns;
  }
  QList<int> selectedRows() const override {
    QList<int> rows;
    for (const QModelIndex& index : selection().selectedRows()) rows.append(shownRow(view(), index));
    return rows;
  }
  bool isColumnSelected(int column) const override { return selection().isColumnSelected(column); }
  bool isRowSelected(int row) const override {
    const QModelIndex index = shownIndex(view(), row, 0);
    return index.isValid() && selection().isRowSelected(index.row(), index.parent());
  }
  bool selectRow(int row) override { return selectShownRow(row, QItemSelectionModel::Select); }
  bool unselectRow(int row) override { return selectShownRow(row, QItemSelectionModel::Deselect); }
  bool selectColumn(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  ResultsTable& view() const { return *static_cast<ResultsTable*>(widget()); }
  QItemSelectionModel& selection() const { return *view().selectionModel(); }

  bool selectShownRow(int row, QItemSelectionModel::SelectionFlag how) {
    const QModelIndex index = shownIndex(view(), row, 0);
    if (!index.isValid()) return false;
    selection().select(index, how | QItemSelectionModel::Rows);
    return true;
  }

  QAccessibleInterface* header(int column) const {
    if (const auto found = headers_.constFind(column); found != headers_.cend())
      return QAccessible::accessibleInterface(*found);
    auto* made = new HeaderCell(&view(), column);
    headers_.insert(column, QAccessible::registerAccessibleInterface(made));
    return made;
  }

  QAccessibleInterface* cell(const QModelIndex& index) const {
    if (!index.isValid()) return nullptr;
    if (const auto found = cells_.constFind(index); found != cells_.cend())
      return QAccessible::accessibleInterface(*found);
    auto* made = new Cell(&view(), index);
    cells_.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
  }

  void forgetCells() {
    for (const QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
  }

  template <class Changed>
  void announceMarks(const Changed& changed) {
    for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
      if (changed(it.key())) static_cast<Cell*>(QAccessible::accessibleInterface(it.value()))->announceChanges();
  }

  mutable QHash<QModelIndex, QAccessible::Id> cells_;
  mutable QHash<int, QAccessible::Id> headers_;
  // Holds the connections to the model for as long as this interface lives.
  QObject watcher_;
};

// Before it has its model the table reads as Qt's tree view does.
QAccessibleInterface* factory(const QString&, QObject* object) {
  auto* table = qobject_cast<ResultsTable*>(object);
  return table != nullptr && table->model() != nullptr ? new Tree(table) : nullptr;
}

}  // namespace

void ResultsTableAccessible::install(ResultsTable& table) {
  requireMainThread();
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
  forgetAccessibleInterface(table);
}

void ResultsTableAccessible::announceCurrent(ResultsTable& table) {
  requireMainThread();
  const QModelIndex current = table.currentIndex();
  if (!QAccessible::isActive() || !table.hasFocus() || !current.isValid()) return;
  const int row = shownRow(table, current);
  if (row < 0) return;
  QAccessibleEvent event(&table, QAccessible::Focus);
  event.setChild((row + 1) * table.model()->columnCount() + current.column());
  QAccessible::updateAccessibility(&event);
}
