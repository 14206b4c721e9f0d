#include "results/QuickLookPreview.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "interface/FormattedByteCount.h"
#include "platform/AccessibleRole.h"
#include "platform/LastPathComponent.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "platform/VisibleControls.h"
#include "platform/YieldingPool.h"
#include "results/PreviewContent.h"

namespace {

constexpr QSize windowSize{720, 540};

// The preview's own threads: a file is read there, never on the main thread,
// where a slow picture or a mount that stopped answering would freeze the
// window; a read no longer wanted gives up its place.
YieldingPool& readPool() {
  static YieldingPool pool(2);
  return pool;
}

QLabel* plainLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  return label;
}

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

QuickLookPreview::~QuickLookPreview() { stopReading(); }

void QuickLookPreview::showFile(const QString& path) {
  requireMainThread();
  path_ = path;
  setWindowTitle(withVisibleControls(lastPathComponent(path)));
  read(path);
  show();
  raise();
}

QString QuickLookPreview::shownKind() const {
  if (loading_) return QStringLiteral("loading");
  if (pages_->currentWidget() == image_) return QStringLiteral("image");
  if (pages_->currentWidget() == text_) return QStringLiteral("text");
  return QStringLiteral("file");
}

// The summary the name alone gives stands in until the file has been read;
// a read for a file no longer shown is asked to stop and its result dropped.
void QuickLookPreview::read(const QString& path) {
  stopReading();
  reading_ = std::stop_source();
  loading_ = true;
  showContent(namedPreviewContent(path));
  const QSize box = windowSize - QSize(24, 24);
  readTicket_ = readPool().start(
      [this, path, box, stop = reading_.get_token(), mailbox = mailbox_.address()] {
        // Another file was shown before this read began.
        if (stop.stop_requested()) return;
        PreviewContent content;
        try {
          content = readPreviewContent(path, box, stop);
        } catch (const std::exception&) {
          // Out of memory: the summary without a size.
          content = namedPreviewContent(path);
        }
        if (stop.stop_requested()) return;
        mailbox.post([this, stop, content = std::move(content)] {
          if (stop.stop_requested()) return;
          loading_ = false;
          showContent(content);
        });
      },
      0, path);
}

void QuickLookPreview::stopReading() {
  reading_.request_stop();
  if (readTicket_) readPool().letGo(*readTicket_);
}

void QuickLookPreview::showContent(const PreviewContent& content) {
  switch (content.kind) {
    case PreviewContent::Kind::image:
      image_->setPixmap(QPixmap::fromImage(content.image));
      pages_->setCurrentWidget(image_);
      return;
    case PreviewContent::Kind::text:
      text_->setPlainText(content.text);
      pages_->setCurrentWidget(text_);
      return;
    case PreviewContent::Kind::file:
      break;
  }
  QIcon icon = QIcon::fromTheme(content.iconName, QIcon::fromTheme(content.genericIconName));
  if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
  summaryIcon_->setPixmap(icon.pixmap(96, 96));
  summaryName_->setText(withVisibleControls(lastPathComponent(path_)));
  summaryKind_->setText(content.typeName);
  summarySize_->setText(content.size ? formattedByteCount(*content.size) : QString());
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
  if (!event->isAccepted()) return;
  stopReading();
  loading_ = false;
  emit closed();
}
