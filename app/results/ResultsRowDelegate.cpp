#include "results/ResultsRowDelegate.h"

#include <QApplication>
#include <QPainter>

#include "platform/Icons.h"
#include "platform/Palette.h"
#include "results/ResultsModel.h"

namespace {

constexpr int spacing = 6;
constexpr int checkboxSize = 16;
constexpr int iconSize = 14;

QStyle* styleOf(const QStyleOptionViewItem& option) {
  return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

void paintCheckbox(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
  QStyleOptionViewItem box = option;
  box.rect = ResultsRowDelegate::checkboxRect(option.rect);
  box.state = QStyle::State_None;
  if (index.data(ResultsModel::CanMarkRole).toBool()) box.state |= QStyle::State_Enabled;
  box.state |= index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
  styleOf(option)->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, &painter, option.widget);
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
    paintCheckbox(*painter, option, index);
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
    Badges::paint(*painter, badge, item.font, x, centre);
    x += Badges::width(badge, item.font);
  }
  painter->restore();
}

bool ResultsRowDelegate::editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) {
  return false;
}
