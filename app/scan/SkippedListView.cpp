#include "scan/SkippedListView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "platform/LastPathComponent.h"
#include "scan/NotReadListAccessible.h"
#include "scan/NotReadListModel.h"
#include "scan/NotReadRowDelegate.h"
#include "platform/AccessKeys.h"
#include "platform/AccessibleRole.h"
#include "platform/FileReveal.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "widgets/ContextMenuKey.h"
#include "widgets/SheetWindow.h"

namespace {

QString systemMessage(std::int32_t errorNumber) { return QString::fromUtf8(std::strerror(errorNumber)); }

template <class... Cases>
struct Overloaded : Cases... {
  using Cases::operator()...;
};
template <class... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

QList<NotReadListModel::Entry> folderEntries(const QList<RootSkip>& rootSkips) {
  QList<NotReadListModel::Entry> entries;
  for (const RootSkip& skip : rootSkips) entries.append({skip.path, SkippedListView::rootSkipText(skip.reason)});
  return entries;
}

QList<NotReadListModel::Entry> itemEntries(const QList<SkippedItem>& skipped) {
  QList<NotReadListModel::Entry> entries;
  for (const SkippedItem& item : skipped) entries.append({item.path, SkippedListView::skipText(item.reason)});
  return entries;
}

QLabel* label(const QString& text, const QFont& font, const QColor& colour) {
  auto* result = new QLabel(text);
  result->setFont(font);
  Palette::setTextColor(*result, colour);
  result->setWordWrap(true);
  return result;
}

}  // namespace

SkippedListView::SkippedListView(const QList<SkippedItem>& skipped, const QList<RootSkip>& rootSkips, QWidget* parent)
    : QDialog(parent),
      model_(new NotReadListModel(folderEntries(rootSkips), itemEntries(skipped), this)),
      list_(new QListView) {
  makeSheetWindow(*this, tr("Not Read"));
  setFixedSize(560, 420);

  const QString subtitle = tr("These items were left out of the comparison. Nothing was changed.");
  // The sheet's title is the window's name; the subtitle names the list.
  list_->setAccessibleName(subtitle);
  list_->setModel(model_);
  NotReadListAccessible::install(*list_);
  list_->setItemDelegate(new NotReadRowDelegate(list_));
  list_->setMinimumHeight(240);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformItemSizes(false);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  ContextMenuKey::install(*list_);
  list_->setMouseTracking(true);
  connect(list_, &QListView::customContextMenuRequested, this, &SkippedListView::showRowMenu);

  auto* done = new QPushButton(tr("Done"));
  done->setDefault(true);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(done);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 20);
  layout->setSpacing(12);
  for (QLabel* shown : {label(tr("Not Read"), TextStyles::font(TextStyle::title3, font(), QFont::DemiBold),
                              palette().color(QPalette::WindowText)),
                        label(subtitle, font(), Palette::secondaryText())}) {
    layout->addWidget(shown);
    hideFromAccessibility(*shown);
  }
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  // The list takes the keyboard on its first entry: a section's heading cannot hold it.
  for (int row = 0; row < model_->rowCount(); ++row) {
    const QModelIndex entry = model_->index(row, 0);
    if (entry.data(NotReadListModel::IsHeadingRole).toBool()) continue;
    list_->selectionModel()->setCurrentIndex(entry, QItemSelectionModel::NoUpdate);
    break;
  }
}

void SkippedListView::showRowMenu(const QPoint& position) {
  const QModelIndex index = list_->indexAt(position);
  if (!index.isValid() || index.data(NotReadListModel::IsHeadingRole).toBool()) return;
  const QString path = index.data().toString();
  QMenu menu(this);
  AccessKeys::give(menu);
  menu.addAction(FileReveal::title(), this, [path] { FileReveal::reveal(path); });
  menu.exec(list_->viewport()->mapToGlobal(position));
}

QString SkippedListView::skipText(const SkipReason& reason) {
  return std::visit(
      Overloaded{
          [](const SkipReason::io& io) { return tr("Read error: %1").arg(systemMessage(io.errnoValue)); },
          [](const SkipReason::dataless&) { return tr("In iCloud, not downloaded: Quelmaris never downloads files."); },
          [](const SkipReason::permission&) { return tr("No permission to read it."); },
          [](const SkipReason::invalidName&) { return tr("The name isn't valid text."); },
          [](const SkipReason::changed&) { return tr("It changed while being read."); },
      },
      reason.value);
}

QString SkippedListView::rootSkipText(const RootSkipReason& reason) {
  return std::visit(Overloaded{
                        [](const RootSkipReason::nestedIn& nested) {
                          return tr("Inside another folder in the list (%1): scanned through that one.")
                              .arg(lastPathComponent(nested.root));
                        },
                        [](const RootSkipReason::duplicate& duplicate) {
                          return tr("The same folder as %1.").arg(lastPathComponent(duplicate.root));
                        },
                        [](const RootSkipReason::unreadable& unreadable) {
                          return tr("Can't be read: %1").arg(systemMessage(unreadable.errnoValue));
                        },
                        [](const RootSkipReason::missing&) { return tr("Not found."); },
                        [](const RootSkipReason::notADirectory&) { return tr("Not a folder."); },
                    },
                    reason.value);
}
