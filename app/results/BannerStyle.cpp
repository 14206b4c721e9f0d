#include "results/BannerStyle.h"

#include <QHBoxLayout>
#include <QWidget>

#include "platform/AccessibleRole.h"
#include "platform/Icons.h"
#include "platform/TextStyles.h"
#include "widgets/DecorativePicture.h"
#include "widgets/SentenceLabel.h"

namespace BannerStyle {

QHBoxLayout* row(QWidget& banner, const QColor& fill, const QString& symbol, const QColor& symbolColour) {
  banner.setFont(TextStyles::font(TextStyle::callout, banner.font()));
  banner.setAutoFillBackground(true);
  QPalette palette = banner.palette();
  palette.setColor(QPalette::Window, fill);
  banner.setPalette(palette);
  auto* icon = new DecorativePicture(Icons::symbol(symbol, symbolColour), banner.fontMetrics().height() + 2);
  auto* layout = new QHBoxLayout(&banner);
  layout->addWidget(icon);
  return layout;
}

void announce(QWidget& banner, SentenceLabel& label) {
  banner.setAccessibleName(label.sentence());
  setAccessibleRole(banner, QAccessible::Notification);
  hideFromAccessibility(label);
}

}  // namespace BannerStyle
