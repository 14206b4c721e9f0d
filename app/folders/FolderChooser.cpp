#include "folders/FolderChooser.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QVBoxLayout>

#include "folders/SubfolderListing.h"
#include "platform/Icons.h"

namespace {

QString joined(const QString& folder, const QString& name) {
  return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The typed text up to its last "/": the folder it names so far.
QString folderPart(const QString& text) { return text.left(text.lastIndexOf(u'/') + 1); }

}  // namespace

FolderChooser::FolderChooser(bool allowsMultipleSelection, const QString& acceptLabel, QWidget* parent)
    : QDialog(parent),
      shown_(new QLabel),
      loading_(new QLabel(tr("Loading\u2026"))),
      names_(new QStandardItemModel(this)),
      list_(new QListView),
      field_(new QLineEdit),
      completions_(new QStringListModel(this)),
      completer_(new QCompleter(completions_, this)),
      accept_(new QPushButton(acceptLabel)) {
  shown_->setTextFormat(Qt::PlainText);
  shown_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* up = new QPushButton(tr("&Enclosing Folder"));
  up->setAutoDefault(false);
  auto* top = new QHBoxLayout;
  top->addWidget(shown_, 1);
  top->addWidget(up);

  list_->setModel(names_);
  list_->setAccessibleName(tr("Folders"));
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionMode(allowsMultipleSelection ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
  loading_->setTextFormat(Qt::PlainText);

  auto* fieldLabel = new QLabel(tr("&Folder:"));
  fieldLabel->setBuddy(field_);
  field_->setAccessibleName(tr("Folder"));
  completer_->setCaseSensitivity(Qt::CaseSensitive);
  field_->setCompleter(completer_);
  completer_->popup()->installEventFilter(this);
  auto* fieldRow = new QHBoxLayout;
  fieldRow->addWidget(fieldLabel);
  fieldRow->addWidget(field_, 1);

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(accept_, QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  accept_->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addWidget(loading_);
  layout->addLayout(fieldRow);
  layout->addWidget(buttons);
  setTabOrder(field_, list_);
  setTabOrder(list_, up);
  field_->setFocus();
  resize(640, 420);

  connect(up, &QPushButton::clicked, this, [this] { setFolder(QFileInfo(folder_).path()); });
  // The keyboard's way into the current folder and out again, as this
  // desktop's file dialogs have it: Return already chooses.
  auto* enter = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Down), list_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(enter, &QShortcut::activated, this, [this] {
    if (list_->currentIndex().isValid()) open(list_->currentIndex());
  });
  connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Up), this), &QShortcut::activated, up, &QPushButton::click);
  connect(list_, &QListView::doubleClicked, this, &FolderChooser::open);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &FolderChooser::selectionChanged);
  connect(field_, &QLineEdit::textEdited, this, &FolderChooser::typed);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  setFolder(QDir::homePath());
}

// The completion list takes Return for itself, and hands it to the field
// only: there it accepts what it completed, as Return in the field does.
bool FolderChooser::eventFilter(QObject* watched, QEvent* event) {
  if (watched == completer_->popup() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
      QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
  }
  return QDialog::eventFilter(watched, event);
}

void FolderChooser::setFolder(const QString& path) {
  folder_ = path;
  shown_->setText(path);
  names_->clear();
  loading_->show();
  // An answer for a folder left meanwhile is dropped.
  SubfolderListing::list(path, mailbox_.address(), [this, listing = ++listing_](const QStringList& names) {
    if (listing == listing_) listed(names);
  });
}

bool FolderChooser::isListed() const { return loading_->isHidden(); }

void FolderChooser::listed(const QStringList& names) {
  loading_->hide();
  names_->clear();
  for (const QString& name : names) {
    auto* item = new QStandardItem(Icons::symbol(QStringLiteral("folder")), name);
    item->setEditable(false);
    names_->appendRow(item);
  }
  // The completions continue what is typed, when it is typed in this folder.
  const QString typed = field_->text();
  const QString base = folderPart(typed);
  if (resolved(base) != folder_) return;
  QStringList completions;
  for (const QString& name : names) completions.append(base + name);
  completions_->setStringList(completions);
  if (field_->hasFocus() && !typed.isEmpty()) {
    completer_->setCompletionPrefix(typed);
    completer_->complete();
  }
}

void FolderChooser::typed(const QString& text) {
  if (const QString base = folderPart(text); !base.isEmpty() && resolved(base) != folder_) {
    completions_->setStringList({});
    setFolder(resolved(base));
  }
}

void FolderChooser::selectionChanged() {
  const QModelIndexList rows = list_->selectionModel()->selectedRows();
  // One folder chosen shows in the field; several are chosen in the list.
  field_->setText(rows.size() == 1 ? rows.first().data().toString() : QString());
}

void FolderChooser::open(const QModelIndex& index) {
  field_->clear();
  setFolder(joined(folder_, index.data().toString()));
}

QString FolderChooser::resolved(const QString& text) const {
  if (text.isEmpty()) return folder_;
  if (text.startsWith(u'/')) return QDir::cleanPath(text);
  if (text == u'~' || text.startsWith(QStringLiteral("~/"))) return QDir::cleanPath(QDir::homePath() + text.mid(1));
  return QDir::cleanPath(joined(folder_, text));
}

QList<QUrl> FolderChooser::chosenUrls() const {
  if (const QString typed = resolved(field_->text()); typed != folder_) return {QUrl::fromLocalFile(typed)};
  QList<QUrl> urls;
  for (const QModelIndex& row : list_->selectionModel()->selectedRows())
    urls.append(QUrl::fromLocalFile(joined(folder_, row.data().toString())));
  if (urls.isEmpty()) urls.append(QUrl::fromLocalFile(folder_));
  return urls;
}
