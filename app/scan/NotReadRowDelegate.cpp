#include "scan/NotReadRowDelegate.h"

#include <QApplication>
#include <QPainter>

#include "scan/NotReadListModel.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"

namespace {

constexpr int horizontalInset = 10;
constexpr int verticalInset = 5;
constexpr int lineSpacing = 2;
constexpr int headingTopSpace = 8;

bool isHeading(const QModelIndex& index) { return index.data(NotReadListModel::IsHeadingRole).toBool(); }

QFont headingFont(const QStyleOptionViewItem& option) {
  return TextStyles::font(TextStyle::caption, option.font, QFont::DemiBold);
}

QFont reasonFont(const QStyleOptionViewItem& option) { return TextStyles::font(TextStyle::callout, option.font); }

void paintHeading(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
  const QRect text = option.rect.adjusted(horizontalInset, headingTopSpace, -horizontalInset, 0);
  painter.setFont(headingFont(option));
  painter.setPen(Palette::secondaryText());
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
}

void paintItem(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) {
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  const QRect area = option.rect.adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
  const QFontMetrics pathMetrics(option.font);
  const QString path = pathMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, area.width());
  painter.setFont(option.font);
  painter.setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter.drawText(QRect(area.left(), area.top(), area.width(), pathMetrics.height()), Qt::AlignLeft, path);

  const QFont font = reasonFont(option);
  const QFontMetrics reasonMetrics(font);
  const QString reason =
      reasonMetrics.elidedText(index.data(NotReadListModel::ReasonRole).toString(), Qt::ElideRight, area.width());
  painter.setFont(font);
  painter.setPen(selected ? option.palette.color(QPalette::HighlightedText) : Palette::secondaryText());
  painter.drawText(
      QRect(area.left(), area.top() + pathMetrics.height() + lineSpacing, area.width(), reasonMetrics.height()),
      Qt::AlignLeft, reason);
}

}  // namespace

void NotReadRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  painter->save();
  if (isHeading(index)) {
    paintHeading(*painter, option, index);
  } else {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
    paintItem(*painter, option, index);
  }
  painter->restore();
}

QSize NotReadRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (isHeading(index)) return {0, QFontMetrics(headingFont(option)).height() + headingTopSpace + 4};
  const int height = QFontMetrics(option.font).height() + lineSpacing + QFontMetrics(reasonFont(option)).height();
  return {0, height + 2 * verticalInset};
}
