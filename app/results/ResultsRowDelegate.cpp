#include "results/ResultsRowDelegate.h"

#include <QApplication>
#include <QPainter>

#include "platform/FocusFrame.h"
#include "platform/Icons.h"
#include "platform/Palette.h"
#include "results/ResultsModel.h"
#include "widgets/CheckBoxStyle.h"

namespace {

constexpr int spacing = 6;
constexpr int checkboxSize = 16;
constexpr int iconSize = 14;

QStyle* styleOf(const QStyleOptionViewItem& option) {
  return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

// The mark checkbox is the application's own rather than the style's, whose
// outline can all but vanish on a dark palette.
void paintMark(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
  paintCheckBox(painter, QRectF(ResultsRowDelegate::checkboxRect(option.rect)).adjusted(1.5, 1.5, -1.5, -1.5),
                index.data(Qt::CheckStateRole).toInt() == Qt::Checked, index.data(ResultsModel::CanMarkRole).toBool(),
                option.palette.color(QPalette::Base));
}

// What lies behind a row's badges: the row's tint over the base, or on a
// selected row the base itself, so that a badge stands on the highlight as
// a capsule of its own that reads as it does elsewhere.
QColor badgeBackdrop(const QStyleOptionViewItem& option, const QModelIndex& index) {
  const QColor base = option.palette.color(QPalette::Base);
  const auto tint = index.data(ResultsModel::TintRole).value<QColor>();
  if (option.state.testFlag(QStyle::State_Selected) || !tint.isValid()) return base;
  return Palette::over(tint, base);
}

}  // namespace

QRect ResultsRowDelegate::checkboxRect(const QRect& cell) {
  return {cell.left() + 2, cell.center().y() - checkboxSize / 2 + 1, checkboxSize, checkboxSize};
}

void ResultsRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (index.column() != ResultsModel::nameColumn) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  item.text.clear();
  item.features &= ~QStyleOptionViewItem::HasCheckIndicator;
  styleOf(option)->drawControl(QStyle::CE_ItemViewItem, &item, painter, option.widget);

  painter->save();
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  int x = option.rect.left();
  const int centre = option.rect.center().y();
  if (!index.data(Qt::CheckStateRole).isNull()) {
    paintMark(*painter, option, index);
    x += checkboxSize + 2 + spacing;
  }
  if (index.data(ResultsModel::FolderIconRole).toBool()) {
    const bool copy = index.data(ResultsModel::KindRole).toInt() == int(ResultRow::Kind::file);
    const QColor color = selected ? option.palette.color(QPalette::HighlightedText)
                                  : (copy ? Palette::secondaryText() : Palette::tertiaryText());
    Icons::draw(*painter, QStringLiteral("folder"), QRectF(x, centre - iconSize / 2.0, iconSize, iconSize), color);
    x += iconSize + spacing;
  }

  const auto badges = index.data(ResultsModel::BadgesRole).value<QList<Badge>>();
  int badgesWidth = 0;
  for (const Badge& badge : badges) badgesWidth += spacing + Badges::width(badge, item.font);
  const QFontMetrics metrics(item.font);
  const int room = std::max(0, option.rect.right() - x - badgesWidth - 4);
  const bool folder = index.data(ResultsModel::FolderIconRole).toBool();
  const QString text = metrics.elidedText(index.data().toString(), folder ? Qt::ElideMiddle : Qt::ElideRight, room);
  const QVariant foreground = index.data(Qt::ForegroundRole);
  painter->setFont(item.font);
  painter->setPen(selected
                      ? option.palette.color(QPalette::HighlightedText)
                      : (foreground.isValid() ? foreground.value<QColor>() : option.palette.color(QPalette::Text)));
  const QRect textRect(x, option.rect.top(), metrics.horizontalAdvance(text), option.rect.height());
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  x = textRect.right() + 1;
  for (const Badge& badge : badges) {
    x += spacing;
    Badges::paint(*painter, badge, item.font, x, centre, badgeBackdrop(option, index));
    x += Badges::width(badge, item.font);
  }
  painter->restore();
}

QSize ResultsRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QSize size = QStyledItemDelegate::sizeHint(option, index);
  return {size.width(), std::max(size.height(), checkboxSize + 2 * focusFrameRoom)};
}

bool ResultsRowDelegate::editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) {
  return false;
}
