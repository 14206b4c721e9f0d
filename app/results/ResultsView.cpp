#include "results/ResultsView.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSettings>
#include <QSplitter>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "folders/SecurityScope.h"
#include "inspector/InspectorView.h"
#include "interface/FormattedByteCount.h"
#include "platform/AccessKeys.h"
#include "platform/ButtonStyles.h"
#include "platform/CountArgument.h"
#include "platform/FileReveal.h"
#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "results/BannerSlot.h"
#include "results/MoveSheets.h"
#include "results/QuickLookPreview.h"
#include "results/ResultsFilterField.h"
#include "results/ResultsModel.h"
#include "results/ResultsMove.h"
#include "results/ResultsTable.h"
#include "results/SummaryBar.h"
#include "scan/ScanStore.h"
#include "widgets/FocusRing.h"
#include "widgets/KeyboardMenu.h"
#include "widgets/KeyboardReturn.h"
#include "widgets/TabStops.h"

namespace {

constexpr int inspectorMinimumWidth = 260;
constexpr int inspectorIdealWidth = 300;
constexpr int inspectorMaximumWidth = 440;
// The prominent style's corners.
constexpr int prominentRadius = 6;
const QString showsInspectorKey = QStringLiteral("showsInspector");

QFrame* divider(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Plain);
  line->setFixedHeight(1);
  line->setStyleSheet(QStringLiteral("background: %1; border: none;").arg(Palette::separator().name(QColor::HexArgb)));
  return line;
}

// The width of a menu button's title and arrow as the style frames them,
// short of the floor it gives every titled push button, which the bottom
// bar of the smallest window has no room for.
int titleAndArrowWidth(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.features = QStyleOptionButton::HasMenu;
  const QSize title = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
  const int arrow = button.style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, &button);
  // Measured untitled: the style widens only titled buttons to its floor.
  return button.style()->sizeFromContents(QStyle::CT_PushButton, &option, title + QSize(arrow, 0), &button).width();
}

// A stored value that is not a Boolean reads as the default, shown.
bool storedShowsInspector() {
  const QVariant stored = QSettings().value(showsInspectorKey, true);
  const QString text = stored.toString().toLower();
  if (text == QStringLiteral("false") || text == QStringLiteral("0")) return false;
  return true;
}

}  // namespace

ResultsView::ResultsView(ScanStore& scan, TrashService& trash, QUndoStack* undoStack, QWidget* parent)
    : QWidget(parent),
      scan_(scan),
      trash_(trash),
      undoStack_(undoStack),
      rows_(new ResultRows(scan, this)),
      model_(new ResultsModel(scan, *rows_, this)),
      table_(new ResultsTable),
      summary_(new SummaryBar(scan)),
      bannerSlot_(new QWidget),
      split_(new QSplitter(this)),
      inspector_(new InspectorView(scan, [this](const FileEntry& file) { setPreviewPath(file.path); })),
      showsInspector_(storedShowsInspector()),
      reveal_(&FileReveal::reveal) {
  requireMainThread();
  setObjectName(QStringLiteral("resultsView"));
  auto* stack = new QWidget;
  auto* column = new QVBoxLayout(stack);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  bannerSlot_->setObjectName(QStringLiteral("bannerSlot"));
  auto* banners = new QVBoxLayout(bannerSlot_);
  banners->setContentsMargins(0, 0, 0, 0);
  banners->setSpacing(0);
  column->addWidget(bannerSlot_);
  column->addWidget(summary_);
  column->addWidget(divider(stack));
  table_->setModel(model_);
  column->addWidget(table_, 1);
  // The window gives the view the keyboard when it replaces the detail that held it.
  setFocusProxy(table_);
  column->addWidget(divider(stack));
  column->addWidget(makeBottomBar());

  inspector_->setFocusAfter(table_);
  inspector_->setMinimumWidth(inspectorMinimumWidth);
  inspector_->setMaximumWidth(inspectorMaximumWidth);
  split_->addWidget(stack);
  split_->addWidget(inspector_);
  split_->setChildrenCollapsible(false);
  // A hairline, as beside the folder column: the table keeps the room a
  // wider handle would take from it in the smallest window.
  split_->setObjectName(QStringLiteral("inspectorSplit"));
  split_->setHandleWidth(1);
  split_->setStyleSheet(QStringLiteral("QSplitter#inspectorSplit::handle { background: %1; }")
                            .arg(Palette::separator().name(QColor::HexArgb)));
  split_->setStretchFactor(0, 1);
  split_->setStretchFactor(1, 0);
  split_->setSizes({800, inspectorIdealWidth});
  inspector_->setVisible(showsInspector_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(split_);
  toolbarItems_ = makeToolbarItems();
  installMove();

  connect(summary_, &SummaryBar::filterChanged, this, &ResultsView::setFilter);
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ResultsView::selectionChangedByUser);
  connect(model_, &QAbstractItemModel::modelReset, this, &ResultsView::restoreAfterReset);
  connect(table_, &QTreeView::expanded, this, [this](const QModelIndex& index) { rowExpanded(index, true); });
  connect(table_, &QTreeView::collapsed, this, [this](const QModelIndex& index) { rowExpanded(index, false); });
  connect(table_, &ResultsTable::markClicked, this, &ResultsView::markClicked);
  connect(table_, &ResultsTable::spacePressed, this, &ResultsView::spacePressed);
  connect(table_, &ResultsTable::deletePressed, this, &ResultsView::deletePressed);
  connect(table_, &QWidget::customContextMenuRequested, this, &ResultsView::showContextMenu);
  connect(&scan_, &ScanStore::expandedRowsChanged, this, &ResultsView::applyExpandedRows);
  connect(&scan_, &ScanStore::selectionChanged, this, &ResultsView::changed);
  connect(&scan_, &ScanStore::setsChanged, this, &ResultsView::changed);
  connect(&scan_, &ScanStore::lookalikesChanged, this, &ResultsView::changed);
  applyExpandedRows();
  changed();
}

// The view going away ends the preview and its access, whatever the reason.
ResultsView::~ResultsView() {
  if (preview_ != nullptr) preview_->disconnect(this);
  updatePreviewAccess(false);
  delete toolbarItems_;
}

QWidget* ResultsView::takeToolbarItems() { return std::exchange(toolbarItems_, nullptr); }

QWidget* ResultsView::makeBottomBar() {
  auto* bar = new QWidget;
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(12, 8, 12, 8);
  row->setSpacing(12);

  // A push button keeps room for its menu's arrow beside the title.
  auto* select = new QPushButton(tr("Select"), bar);
  select->setObjectName(QStringLiteral("selectMenuButton"));
  select->setAccessibleName(tr("Select"));
  auto* menu = new QMenu(select);
  AccessKeys::give(*menu);
  KeyboardMenu::startAtFirstItem(*menu);
  const auto addMarking = [this, menu](const QString& title, SelectionModel::Marking mode) {
    menu->addAction(title, this, [this, mode] {
      scan_.changeSelection([&](SelectionModel& s) { s.applyMarking(mode, scan_.sets()); });
    });
  };
  addMarking(tr("All Copies"), SelectionModel::Marking::selectAllCopies);
  addMarking(tr("Copies Outside Folder 1"), SelectionModel::Marking::selectOutsideFirstFolder);
  menu->addSeparator();
  addMarking(tr("Deselect All"), SelectionModel::Marking::deselectAll);
  select->setMenu(menu);
  select->setMinimumWidth(titleAndArrowWidth(*select));
  row->addWidget(select);
  row->addStretch(1);

  totals_ = new QLabel(bar);
  totals_->setObjectName(QStringLiteral("markTotals"));
  totals_->setTextFormat(Qt::PlainText);
  // In the smallest window an estimated total ("about …") has no room for its
  // one line beside the button: it takes a second rather than being cut.
  totals_->setWordWrap(true);
  totals_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Palette::setTextColor(*totals_, Palette::secondaryText());
  row->addWidget(totals_);

  moveButton_ = new QPushButton(tr("Move to Trash…"), bar);
  moveButton_->setObjectName(QStringLiteral("moveToTrashButton"));
  ButtonStyles::makeProminent(*moveButton_, Palette::systemRed(), QStringLiteral("trash"));
  FocusRing::attach(*moveButton_, prominentRadius);
  connect(moveButton_, &QPushButton::clicked, this, &ResultsView::moveToTrashRequested);
  row->addWidget(moveButton_);
  return bar;
}

QWidget* ResultsView::makeToolbarItems() {
  auto* items = new QWidget;
  auto* row = new QHBoxLayout(items);
  row->setContentsMargins(10, 0, 0, 0);
  row->setSpacing(8);
  filterField_ = new ResultsFilterField(items);
  connect(filterField_, &QLineEdit::textChanged, this, [this](const QString& text) { model_->setQuery(text); });
  // The texts a query searches are made when the field is entered, so that
  // the first keystroke answers as fast as the next.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && now == filterField_) rows_->prepareQuery(model_->filter());
  });
  row->addWidget(filterField_);

  inspectorToggle_ = new QToolButton(items);
  inspectorToggle_->setObjectName(QStringLiteral("inspectorToggle"));
  inspectorToggle_->setText(tr("Inspector"));
  inspectorToggle_->setAccessibleName(tr("Inspector"));
  inspectorToggle_->setIcon(Icons::symbol(QStringLiteral("sidebar.trailing")));
  inspectorToggle_->setCheckable(true);
  inspectorToggle_->setChecked(showsInspector_);
  inspectorToggle_->setToolTip(showsInspector_ ? tr("Hide Inspector") : tr("Show Inspector"));
  connect(inspectorToggle_, &QToolButton::clicked, this, [this] { setShowsInspector(!showsInspector_); });
  row->addWidget(inspectorToggle_);
  return items;
}

ResultsFilter ResultsView::filter() const { return model_->filter(); }

void ResultsView::setFilter(ResultsFilter filter) {
  requireMainThread();
  if (filter == model_->filter()) return;
  model_->setFilter(filter);
  summary_->setFilter(filter);
  emit filterChanged(filter);
  changed();
}

SortComparator ResultsView::sort() const { return model_->sortOrder().first(); }

// Through the header, which sorts the model and shows the indicator.
void ResultsView::setSort(SortComparator sort) {
  requireMainThread();
  table_->sortByColumn(int(sort.key), sort.order);
}

void ResultsView::setShowsInspector(bool shows) {
  requireMainThread();
  showsInspector_ = shows;
  QSettings().setValue(showsInspectorKey, shows);
  // The keyboard in the column going away stays with the results, rather
  // than going on to the control after it (the folder list).
  if (!shows && inspector_->isAncestorOf(window()->focusWidget())) table_->setFocus(Qt::OtherFocusReason);
  inspector_->setVisible(shows);
  if (inspectorToggle_ != nullptr) {
    inspectorToggle_->setChecked(shows);
    inspectorToggle_->setToolTip(shows ? tr("Hide Inspector") : tr("Show Inspector"));
  }
  emit actionsChanged();
}

void ResultsView::installMove() {
  move_ = new ResultsMove(scan_, trash_, undoStack_, this);
  auto* sheets = new MoveSheets(*move_, *this);
  auto* banners = new BannerSlot(scan_, *move_, *table_);
  bannerSlot_->layout()->addWidget(banners);
  connect(banners, &BannerSlot::bannerChanged, this, &ResultsView::orderTabStops);
  connect(this, &ResultsView::moveToTrashRequested, sheets, &MoveSheets::ask);
  connect(move_, &ResultsMove::isMovingChanged, this, [this] { setMoving(move_->isMoving()); });
}

void ResultsView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ParentChange) orderTabStops();
}

// The window's chain puts the view before its children and a banner made
// later after them all: the keyboard goes from the banner to the summary and
// on to the table, as they stand from the top.
void ResultsView::orderTabStops() {
  if (isWindow()) return;
  TabStops::placeFirst(*this, TabStops::within(*bannerSlot_) + TabStops::within(*summary_));
}

// "Move to Trash…" is disabled while the move runs; the focus it held goes
// to the table rather than to whatever follows the button.
void ResultsView::setMoving(bool moving) {
  if (moving == isMoving_) return;
  isMoving_ = moving;
  if (moving && window()->focusWidget() == moveButton_) table_->setFocus(Qt::OtherFocusReason);
  changed();
}

bool ResultsView::filterFocused() const { return filterField_ != nullptr && filterField_->hasFocus(); }

void ResultsView::focusFilter() {
  if (filterField_ == nullptr) return;
  filterField_->setFocus(Qt::ShortcutFocusReason);
  filterField_->selectAll();
}

// The hooks hold the view weakly: a record kept after the view went away
// does nothing.
ResultsActions ResultsView::actions() {
  requireMainThread();
  const QPointer<ResultsView> guard(this);
  const auto whileAlive = [guard](auto act) {
    return [guard, act](auto&&... args) {
      if (guard != nullptr) act(*guard, args...);
    };
  };
  ResultsViewHooks hooks{whileAlive([](ResultsView& view) { emit view.moveToTrashRequested(); }),
                         whileAlive([](ResultsView& view, const QString& path) { view.reveal_(path); }),
                         whileAlive([](ResultsView& view, const QString& path) { view.setPreviewPath(path); }),
                         whileAlive([](ResultsView& view) { view.focusFilter(); }),
                         {[guard] { return guard != nullptr ? guard->filter() : ResultsFilter::duplicates; },
                          whileAlive([](ResultsView& view, ResultsFilter filter) { view.setFilter(filter); })},
                         {[guard] { return guard != nullptr ? guard->sort() : SortComparator{}; },
                          whileAlive([](ResultsView& view, SortComparator sort) { view.setSort(sort); })}};
  return buildResultsActions(scan_, *rows_, tableSelection_, isMoving_, hooks);
}

void ResultsView::selectionChangedByUser() {
  if (restoring_) return;
  QSet<QString> ids;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) ids.insert(model_->row(index).id());
  tableSelection_ = std::move(ids);
  changed();
}

// A reset forgets what the view showed: expanded rows come back from the
// store, and the selected ids that still name a shown row are selected again.
void ResultsView::restoreAfterReset() {
  applyExpandedRows();
  const QScopedValueRollback guard(restoring_, true);
  QItemSelection selection;
  for (const QString& id : std::as_const(tableSelection_)) {
    const QModelIndex index = model_->indexOf(id);
    if (index.isValid()) selection.select(index, index.siblingAtColumn(ResultsModel::columns - 1));
  }
  table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  changed();
}

void ResultsView::applyExpandedRows() {
  if (echoing_) return;
  const QScopedValueRollback guard(restoring_, true);
  const QSet<std::uint64_t>& expanded = scan_.expandedRows();
  if (expanded.isEmpty()) {
    table_->collapseAll();
    return;
  }
  const int count = model_->rowCount();
  int shown = 0;
  for (int row = 0; row < count; ++row) shown += expanded.contains(model_->topId(row)) ? 1 : 0;
  if (shown == count) {
    table_->expandAll();
  } else if (shown == 0) {
    table_->collapseAll();
  } else {
    for (int row = 0; row < count; ++row)
      table_->setExpanded(model_->index(row, 0), expanded.contains(model_->topId(row)));
  }
}

void ResultsView::rowExpanded(const QModelIndex& index, bool expanded) {
  if (restoring_ || index.parent().isValid()) return;
  const std::uint64_t id = model_->topId(index.row());
  if (scan_.expandedRows().contains(id) == expanded) return;
  const QScopedValueRollback guard(echoing_, true);
  scan_.changeExpandedRows([&](QSet<std::uint64_t>& rows) {
    if (expanded)
      rows.insert(id);
    else
      rows.remove(id);
  });
}

void ResultsView::changed() {
  inspector_->setItem(rows_->inspectedItem(tableSelection_));
  updateTotals();
  emit actionsChanged();
}

void ResultsView::updateTotals() {
  const SelectionModel::Totals totals = rows_->markedTotals();
  moveButton_->setEnabled(totals.files >= 1 && !isMoving_);
  if (totals.files >= 1)
    totals_->setText(tr("%1 selected · ").arg(countText(totals.files)) +
                     formattedByteCount(totals.freedBytes, totals.estimated));
  totals_->setVisible(totals.files >= 1);
}

void ResultsView::markClicked(const QModelIndex& index) {
  const ResultRow row = model_->row(index);
  if (row.kind != ResultRow::Kind::file) return;
  const bool marked = scan_.selection().marked().value(row.set->id).contains(row.index);
  scan_.changeSelection([&](SelectionModel& s) { s.setMarked(!marked, row.index, *row.set); });
}

// The space bar's "Quick Look": toggles the preview of the one selected file.
void ResultsView::spacePressed() {
  if (filterFocused()) return;
  const auto file = rows_->selectedFile(tableSelection_);
  if (!file) return;
  setPreviewPath(previewPath_ ? std::nullopt : std::optional(file->path));
}

// Delete asks for the move as the menu's "Move to Trash…" does, when it is offered.
void ResultsView::deletePressed() {
  if (const auto move = actions().moveToTrash) move->perform();
}

void ResultsView::showContextMenu(const QPoint& position) {
  const QModelIndex index = table_->indexAt(position);
  if (!index.isValid()) return;
  const ResultRow row = model_->row(index);
  if (row.kind != ResultRow::Kind::file && row.kind != ResultRow::Kind::lookalike) return;
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  AccessKeys::give(*menu);
  const QString path = row.file()->path;
  if (row.kind == ResultRow::Kind::file) {
    QAction* keep =
        menu->addAction(tr("Keep This Copy"), this, [this, id = row.set->id, path] { keepCopy(scan_, id, path); });
    keep->setEnabled(scan_.selection().keeper(*row.set) != row.index);
  }
  menu->addAction(FileReveal::title(), this, [this, path] { reveal_(path); });
  menu->popup(table_->viewport()->mapToGlobal(position));
}

void ResultsView::setPreviewPath(const std::optional<QString>& path) {
  requireMainThread();
  if (path == previewPath_) return;
  previewPath_ = path;
  updatePreviewAccess(path.has_value());
  if (path) {
    if (preview_ == nullptr) {
      preview_ = new QuickLookPreview(this);
      connect(preview_, &QuickLookPreview::closed, this, &ResultsView::previewClosed);
    }
    preview_->showFile(*path);
  } else if (preview_ != nullptr && preview_->isVisible()) {
    preview_->close();
  }
}

// The window takes the keyboard back once the preview is hidden, which
// follows its close event.
void ResultsView::previewClosed() {
  setPreviewPath(std::nullopt);
  QMetaObject::invokeMethod(this, [this] { KeyboardReturn::toOpener(*window()); }, Qt::QueuedConnection);
}

void ResultsView::updatePreviewAccess(bool open) {
  if (open) {
    if (previewAccess_.isEmpty()) previewAccess_ = SecurityScope::startAccessing(scan_.roots());
    return;
  }
  SecurityScope::stopAccessing(std::exchange(previewAccess_, {}));
}
