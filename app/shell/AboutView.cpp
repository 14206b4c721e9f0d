#include "shell/AboutView.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/AccessibleRole.h"
#include "platform/BundleInfo.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "platform/PlainToolTip.h"
#include "platform/TextStyles.h"
#include "widgets/DecorativePicture.h"
#include "widgets/FocusRing.h"
#include "widgets/SideWindow.h"

namespace {

constexpr int windowWidth = 460;
constexpr int iconSide = 96;
constexpr int linkRadius = 4;

QLabel* centredText(const QString& text, const QFont& font, const QColor& colour = QColor()) {
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignHCenter);
  label->setWordWrap(true);
  label->setFont(font);
  if (colour.isValid()) {
    Palette::setTextColor(*label, colour);
  }
  return label;
}

QWidget* creditsSection(const QString& title, const QStringList& paragraphs, const QFont& base) {
  auto* section = new QWidget;
  auto* column = new QVBoxLayout(section);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(6);
  QLabel* heading = centredText(title, TextStyles::font(TextStyle::body, base, QFont::DemiBold));
  setAccessibleRole(*heading, QAccessible::Heading);
  column->addWidget(heading);
  for (const QString& paragraph : paragraphs)
    column->addWidget(centredText(paragraph, TextStyles::font(TextStyle::callout, base), Palette::secondaryText()));
  return section;
}

QPushButton* link(const QString& text, const char* name, const QString& page, const AboutView::OpenLink& openLink,
                  const QFont& base) {
  auto* button = new QPushButton(text);
  button->setObjectName(QLatin1String(name));
  // It looks and acts as a link, and is read as one.
  setAccessibleRole(*button, QAccessible::Link);
  button->setFlat(true);
  button->setCursor(Qt::PointingHandCursor);
  button->setFont(TextStyles::font(TextStyle::callout, base));
  button->setStyleSheet(QStringLiteral("QPushButton { color: %1; border: none; padding: 0; }")
                            .arg(Palette::brand().name(QColor::HexArgb)));
  const QUrl target = AboutView::websitePage(page);
  setPlainToolTip(*button, target.toString());
  QObject::connect(button, &QPushButton::clicked, button, [openLink, target] { openLink(target); });
  return button;
}

}  // namespace

QString AboutView::versionText(const QVariantMap& info) {
  return tr("Version %1 (%2)")
      .arg(BundleInfo::infoString(BundleInfo::shortVersionKey, info),
           BundleInfo::infoString(BundleInfo::versionKey, info));
}

QUrl AboutView::websitePage(const QString& page) {
  return BundleInfo::websiteUrl().resolved(QUrl(page, QUrl::StrictMode));
}

// The window manager's title bar stays, with a close button and nothing else.
AboutView::AboutView(OpenLink openLink, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  requireMainThread();
  setObjectName(QStringLiteral("aboutWindow"));
  setWindowTitle(tr("About Quelmaris"));
  const QFont base = font();

  auto* icon = new DecorativePicture(QGuiApplication::windowIcon(), iconSide);

  auto* header = new QVBoxLayout;
  header->setSpacing(2);
  header->addWidget(
      centredText(QStringLiteral("Quelmaris"), TextStyles::font(TextStyle::title2, base, QFont::DemiBold)));
  QLabel* version = centredText(versionText(BundleInfo::dictionary()), base, Palette::secondaryText());
  version->setObjectName(QStringLiteral("versionLine"));
  version->setTextInteractionFlags(Qt::TextSelectableByMouse);
  header->addWidget(version);

  auto* links = new QHBoxLayout;
  links->setSpacing(18);
  links->addStretch(1);
  links->addWidget(link(tr("Website"), "websiteLink", QString(), openLink, base));
  links->addWidget(link(tr("Privacy Policy"), "privacyLink", QStringLiteral("privacy.html"), openLink, base));
  links->addWidget(link(tr("Terms of Use"), "termsLink", QStringLiteral("terms.html"), openLink, base));
  links->addStretch(1);

  QLabel* notice = centredText(BundleInfo::infoString(BundleInfo::copyrightKey),
                               TextStyles::font(TextStyle::caption, base), Palette::secondaryText());
  notice->setObjectName(QStringLiteral("noticeLine"));

  auto* column = new QVBoxLayout(this);
  column->setSpacing(16);
  column->setContentsMargins(36, 4, 36, 24);
  column->addWidget(icon, 0, Qt::AlignHCenter);
  column->addLayout(header);
  column->addWidget(creditsSection(
      tr("Everything Stays on This Mac"),
      {tr("Quelmaris reads your files only to compare them. Nothing about them — names, folders or contents — ever "
          "leaves your computer. No accounts, no analytics, no tracking."),
       tr("The only time Quelmaris connects to the internet is to check for a new version of the app.")},
      base));
  column->addWidget(creditsSection(
      tr("The Name"),
      {tr("Quelmaris is a made-up word: short, easy to say, and the name of nothing else on your computer."),
       tr("It carries no meaning of its own, which suits a program that looks at your files and tells no one.")},
      base));
  column->addLayout(links);
  // A link's own focus mark is the style's faint fill behind its text.
  for (int item = 0; item < links->count(); ++item)
    if (QWidget* linkButton = links->itemAt(item)->widget()) FocusRing::attach(*linkButton, linkRadius);
  column->addWidget(notice);

  QPalette tinted = palette();
  tinted.setColor(QPalette::Highlight, Palette::brand());
  setPalette(tinted);
  setFixedSize(windowWidth, column->totalHeightForWidth(windowWidth));
  SideWindow::setUp(*this, QAccessible::Dialog);
}
