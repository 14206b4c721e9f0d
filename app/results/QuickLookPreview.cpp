#include "results/QuickLookPreview.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "interface/FormattedByteCount.h"
#include "platform/AccessibleRole.h"
#include "platform/BoundedImage.h"
#include "platform/FileSystemWork.h"
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

}  // namespace

// What the window shows of a file, read off the main thread: the image, else
// the text, else the facts of the summary.
struct QuickLookPreview::Contents {
  std::optional<QImage> image;
  std::optional<QString> text;
  QString kind;
  QString iconName;
  QString genericIconName;
  std::optional<std::uint64_t> size;

  // Follows symbolic links: a link to a regular file is read like the file.
  static Contents of(const QString& path) {
    Contents contents;
    if (const auto file = openRegularFile(path)) {
      contents.image = readImageFitting(*file, windowSize - QSize(24, 24));
      if (contents.image) return contents;
    }
    const auto file = openRegularFile(path);
    if (file && QMimeDatabase().mimeTypeForFileNameAndData(path, file.get()).inherits(QStringLiteral("text/plain"))) {
      contents.text = QString::fromUtf8(file->read(textPrefixBytes));
      return contents;
    }
    const QFileInfo info(path);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    contents.kind = type.comment();
    contents.iconName = type.iconName();
    contents.genericIconName = type.genericIconName();
    if (info.exists()) contents.size = static_cast<std::uint64_t>(std::max<qint64>(0, info.size()));
    return contents;
  }
};


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
}

// Until a file system that does not answer has given the file, the window
// shows its name alone.
void QuickLookPreview::showFile(const QString& path) {
  requireMainThread();
  path_ = path;
  setWindowTitle(QFileInfo(path).fileName());
  const std::uint64_t request = ++requests_;
  const auto answers = FileSystemWork::run<Contents>(
      {QFile::encodeName(path)}, [path](qsizetype) { return Contents::of(path); }, mailbox_.address(),
      [this, request](const std::vector<Contents>& late) {
        if (request == requests_) present(late.front());
      });
  present(answers.front().value_or(Contents()));
  show();
  raise();
}

QString QuickLookPreview::shownKind() const {
  if (pages_->currentWidget() == image_) return QStringLiteral("image");
  if (pages_->currentWidget() == text_) return QStringLiteral("text");
  return QStringLiteral("file");
}

void QuickLookPreview::present(const Contents& contents) {
  if (contents.image) {
    image_->setPixmap(QPixmap::fromImage(*contents.image));
    pages_->setCurrentWidget(image_);
  } else if (contents.text) {
    text_->setPlainText(*contents.text);
    pages_->setCurrentWidget(text_);
  } else {
    QIcon icon = QIcon::fromTheme(contents.iconName, QIcon::fromTheme(contents.genericIconName));
    if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
    summaryIcon_->setPixmap(icon.pixmap(96, 96));
    summaryName_->setText(QFileInfo(path_).fileName());
    summaryKind_->setText(contents.kind);
    summarySize_->setText(contents.size ? formattedByteCount(*contents.size) : QString());
    pages_->setCurrentWidget(summary_);
  }
}

void QuickLookPreview::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Escape) && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

void QuickLookPreview::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit closed();
}
