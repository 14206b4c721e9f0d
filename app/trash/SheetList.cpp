#include "trash/SheetList.h"

#include <QAbstractListModel>
#include <QFontMetrics>
#include <algorithm>
#include <climits>
#include <utility>

#include "platform/AccessibleList.h"
#include "platform/TextStyles.h"

namespace {

class TextRows final : public QAbstractListModel {
 public:
  TextRows(qsizetype count, std::function<QString(qsizetype)> text, QSize rowSize, QObject* parent)
      : QAbstractListModel(parent),
        count_(static_cast<int>(std::min<qsizetype>(count, INT_MAX))),
        text_(std::move(text)),
        rowSize_(rowSize) {}

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : count_; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return text_(index.row());
    if (role == Qt::SizeHintRole) return rowSize_;
    return {};
  }

 private:
  int count_;
  std::function<QString(qsizetype)> text_;
  QSize rowSize_;
};

}  // namespace

SheetList::SheetList(qsizetype count, std::function<QString(qsizetype)> text, Rows rows, int height, QWidget* parent)
    : QListView(parent) {
  setFont(TextStyles::font(TextStyle::callout, font()));
  const bool twoLines = rows == Rows::upToTwoLines;
  const int lines = twoLines ? 2 : 1;
  const QSize rowSize(0, QFontMetrics(font()).lineSpacing() * lines + 6);
  setModel(new TextRows(count, std::move(text), rowSize, this));
  setUniformItemSizes(true);
  setWordWrap(twoLines);
  setTextElideMode(twoLines ? Qt::ElideRight : Qt::ElideMiddle);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFixedHeight(height);
  AccessibleList::install(*this, {});
}
