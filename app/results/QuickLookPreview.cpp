#include "results/QuickLookPreview.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "interface/FormattedByteCount.h"
#include "platform/AccessibleRole.h"
#include "platform/BoundedImage.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "platform/RegularFile.h"
#include "platform/TextStyles.h"

namespace {

constexpr QSize windowSize{720, 540};
// Larger images are not decoded: 16k × 16k RGBA alone is a gigabyte.
constexpr qint64 textPrefixBytes = 64 * 1024;

QLabel* plainLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  return label;
}

// Follows symbolic links: a link to a regular file is read like the file.
}  // namespace

QuickLookPreview::QuickLookPreview(QWidget* parent)
    : QWidget(parent, Qt::Tool),
      pages_(new QStackedLayout(this)),
      image_(plainLabel(this)),
      text_(new QPlainTextEdit(this)),
      summary_(new QWidget(this)),
      summaryIcon_(new QLabel(summary_)),
      summaryName_(plainLabel(summary_)),
      summaryKind_(plainLabel(summary_)),
      summarySize_(plainLabel(summary_)) {
  setObjectName(QStringLiteral("quickLookPreview"));
  // Announced as a window named by its title, the file's name.
  setAccessibleRole(*this, QAccessible::Window);
  setAccessibleDescription(tr("Quick Look"));
  resize(windowSize);
  image_->setAccessibleName(tr("Preview"));
  text_->setReadOnly(true);
  text_->setAccessibleName(tr("Preview"));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* column = new QVBoxLayout(summary_);
  column->addStretch();
  summaryIcon_->setAlignment(Qt::AlignCenter);
  column->addWidget(summaryIcon_);
  summaryName_->setFont(TextStyles::font(TextStyle::title3, font(), QFont::DemiBold));
  for (QLabel* label : {summaryName_, summaryKind_, summarySize_}) column->addWidget(label);
  for (QLabel* label : {summaryKind_, summarySize_}) Palette::setTextColor(*label, Palette::secondaryText());
  column->addStretch();
  pages_->addWidget(image_);
  pages_->addWidget(text_);
  pages_->addWidget(summary_);
  // The page shown holds the keyboard, so that a screen reader reads what
  // the window shows, not its title alone; the summary by the file's name.
  image_->setFocusPolicy(Qt::StrongFocus);
  summaryName_->setFocusPolicy(Qt::StrongFocus);
  summary_->setFocusProxy(summaryName_);
  const auto focusShownPage = [this] { pages_->currentWidget()->setFocus(Qt::OtherFocusReason); };
  connect(pages_, &QStackedLayout::currentChanged, this, focusShownPage);
  focusShownPage();
  // Before the page: the text's view would turn a page on Space.
  auto* spaceCloses = new QShortcut(QKeySequence(Qt::Key_Space), this);
  connect(spaceCloses, &QShortcut::activated, this, &QWidget::close);
}

void QuickLookPreview::showFile(const QString& path) {
  requireMainThread();
  path_ = path;
  setWindowTitle(QFileInfo(path).fileName());
  if (!showImage(path) && !showText(path)) showSummary(path);
  show();
  raise();
}

QString QuickLookPreview::shownKind() const {
  if (pages_->currentWidget() == image_) return QStringLiteral("image");
  if (pages_->currentWidget() == text_) return QStringLiteral("text");
  return QStringLiteral("file");
}

bool QuickLookPreview::showImage(const QString& path) {
  const auto file = openRegularFile(path);
  if (!file) return false;
  const std::optional<QImage> picture = readImageFitting(*file, windowSize - QSize(24, 24));
  if (!picture) return false;
  image_->setPixmap(QPixmap::fromImage(*picture));
  pages_->setCurrentWidget(image_);
  return true;
}

bool QuickLookPreview::showText(const QString& path) {
  const auto file = openRegularFile(path);
  if (!file || !QMimeDatabase().mimeTypeForFileNameAndData(path, file.get()).inherits(QStringLiteral("text/plain")))
    return false;
  text_->setPlainText(QString::fromUtf8(file->read(textPrefixBytes)));
  pages_->setCurrentWidget(text_);
  return true;
}

void QuickLookPreview::showSummary(const QString& path) {
  const QFileInfo info(path);
  const QMimeType type = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
  if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
  summaryIcon_->setPixmap(icon.pixmap(96, 96));
  summaryName_->setText(info.fileName());
  summaryKind_->setText(type.comment());
  summarySize_->setText(info.exists() ? formattedByteCount(static_cast<std::uint64_t>(std::max<qint64>(0, info.size())))
                                      : QString());
  pages_->setCurrentWidget(summary_);
}

void QuickLookPreview::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void QuickLookPreview::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit closed();
}
