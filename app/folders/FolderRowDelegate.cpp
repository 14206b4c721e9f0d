#include "folders/FolderRowDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include "folders/FolderListModel.h"
#include "platform/FocusFrame.h"
#include "platform/Icons.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"

namespace {

constexpr int rowInset = 8;
constexpr int verticalInset = 6;
constexpr int iconSide = 20;
constexpr int spacing = 8;
constexpr int tagSpacing = 6;
constexpr int lineSpacing = 1;
constexpr int minimumGap = 4;
constexpr int badgeMinimumWidth = 18;
constexpr int badgeHorizontalPadding = 5;
constexpr int badgePadding = 2;
constexpr qreal badgeRadius = 4;
constexpr qreal unavailableOpacity = 0.6;

QFont subtitleFont(const QFont& base) { return TextStyles::font(TextStyle::caption, base); }
QFont tagFont(const QFont& base) { return TextStyles::font(TextStyle::caption2, base, QFont::Medium); }
QFont badgeFont(const QFont& base) { return TextStyles::font(TextStyle::caption, base, QFont::DemiBold); }

QString badgeText(const QModelIndex& index) {
  return QLocale().toString(index.data(FolderListModel::PriorityRole).toInt());
}

bool isSelected(const QStyleOptionViewItem& option) { return option.state.testFlag(QStyle::State_Selected); }

void paintIcon(QPainter& painter, const QRect& area, bool available, const QColor& secondary) {
  const QIcon icon = available ? Icons::symbol(QStringLiteral("folder"), Palette::brand())
                               : Icons::symbol(QStringLiteral("folder.badge.questionmark"), secondary);
  icon.paint(&painter, area);
}

// The name, then the tag when the row holds the originals; returns nothing.
void paintTitle(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index, const QRect& line) {
  const bool originals = index.data(FolderListModel::IsOriginalsRole).toBool();
  const QString tag = FolderListModel::tr("Originals");
  const QFontMetrics tagMetrics(tagFont(option.font));
  const int tagWidth = originals ? tagMetrics.horizontalAdvance(tag) + tagSpacing : 0;
  const QFontMetrics metrics(option.font);
  const QString title = metrics.elidedText(index.data().toString(), Qt::ElideRight, line.width() - tagWidth);
  painter.setFont(option.font);
  painter.setPen(option.palette.color(isSelected(option) ? QPalette::HighlightedText : QPalette::Text));
  painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, title);
  if (!originals) return;
  painter.setFont(tagFont(option.font));
  painter.setPen(isSelected(option) ? option.palette.color(QPalette::HighlightedText) : Palette::brand());
  const int left = line.left() + metrics.horizontalAdvance(title) + tagSpacing;
  painter.drawText(QRect(left, line.top(), line.right() - left, line.height()), Qt::AlignLeft | Qt::AlignVCenter, tag);
}

void paintBadge(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index, const QRect& badge) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(Palette::quaternaryFill());
  painter.drawRoundedRect(QRectF(badge), badgeRadius, badgeRadius);
  painter.setFont(badgeFont(option.font));
  painter.setPen(option.palette.color(isSelected(option) ? QPalette::HighlightedText : QPalette::Text));
  painter.drawText(badge, Qt::AlignCenter, badgeText(index));
}

}  // namespace

QRect FolderRowDelegate::badgeRect(const QStyleOptionViewItem& option, const QModelIndex& index) {
  const QFontMetrics metrics(badgeFont(option.font));
  const int width =
      std::max(badgeMinimumWidth, metrics.horizontalAdvance(badgeText(index)) + 2 * badgeHorizontalPadding);
  const int height = metrics.height() + 2 * badgePadding;
  const QRect row = option.rect;
  return {row.right() - rowInset - width + 1, row.center().y() - height / 2 + 1, width, height};
}

QString FolderRowDelegate::badgeHelp(int priority) {
  return FolderListModel::tr("Priority %1: drag folders to reorder").arg(priority);
}

void FolderRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem background = option;
  initStyleOption(&background, index);
  background.text.clear();
  background.icon = QIcon();
  // The style fills a focused row like a selected one; the focus shows as a
  // frame instead, so that only selected rows look selected.
  background.state.setFlag(QStyle::State_HasFocus, false);
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
  // The list lets the column's ground show through.
  if (showsFocusFrame(option)) paintFocusFrame(*painter, option.rect, option, {option.palette.color(QPalette::Window)});

  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  const bool available = index.data(FolderListModel::IsAvailableRole).toBool();
  if (!available) painter->setOpacity(unavailableOpacity);

  const QRect row = option.rect.adjusted(rowInset, verticalInset, -rowInset, -verticalInset);
  const QRect icon(row.left(), row.center().y() - iconSide / 2 + 1, iconSide, iconSide);
  paintIcon(*painter, icon, available, Palette::secondaryText());

  const QRect badge = badgeRect(option, index);
  paintBadge(*painter, option, index, badge);

  const int textLeft = icon.right() + 1 + spacing;
  const int textWidth = badge.left() - minimumGap - textLeft;
  const QFontMetrics titleMetrics(option.font);
  const QFont subtitle = subtitleFont(option.font);
  const QFontMetrics subtitleMetrics(subtitle);
  const int textHeight = titleMetrics.height() + lineSpacing + subtitleMetrics.height();
  const int top = row.center().y() - textHeight / 2 + 1;
  paintTitle(*painter, option, index, QRect(textLeft, top, textWidth, titleMetrics.height()));

  painter->setFont(subtitle);
  painter->setPen(isSelected(option) ? option.palette.color(QPalette::HighlightedText) : Palette::secondaryText());
  const QString path =
      subtitleMetrics.elidedText(index.data(FolderListModel::SubtitleRole).toString(), Qt::ElideMiddle, textWidth);
  painter->drawText(QRect(textLeft, top + titleMetrics.height() + lineSpacing, textWidth, subtitleMetrics.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, path);
  painter->restore();
}

QSize FolderRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  const int text = QFontMetrics(option.font).height() + lineSpacing + QFontMetrics(subtitleFont(option.font)).height();
  return {0, std::max(text, iconSide) + 2 * verticalInset};
}

bool FolderRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip || !index.isValid()) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  if (!badgeRect(option, index).contains(event->pos())) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  QToolTip::showText(event->globalPos(), badgeHelp(index.data(FolderListModel::PriorityRole).toInt()), view);
  return true;
}
