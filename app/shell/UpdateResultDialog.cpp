#include "shell/UpdateResultDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/BundleInfo.h"
#include "platform/MainThread.h"
#include "platform/TextStyles.h"
#include "widgets/GroupedForm.h"

namespace {

constexpr int dialogWidth = 420;
constexpr int notesHeight = 140;
// A version or build longer than this is cut, with an ellipsis: it comes from the feed.
constexpr qsizetype shownLength = 40;

QString elided(const QString& text) {
  if (text.size() <= shownLength) return text;
  return text.left(shownLength - 1) + u'…';
}

QString runningVersion() { return BundleInfo::infoString(BundleInfo::shortVersionKey); }

// "1.9.0" and "1.9.0": where only the builds differ, they are what tells the two apart.
std::pair<QString, QString> offeredAndRunning(const UpdateFeed& offered) {
  const QString running = runningVersion();
  if (offered.version.normalized() != strictVersion(running).normalized())
    return {elided(offered.version.toString()), elided(running)};
  const auto withBuild = [](const QString& version, const QString& build) {
    return UpdateResultDialog::tr("%1 (%2)", "version (build)").arg(elided(version), elided(build));
  };
  return {withBuild(offered.version.toString(), offered.build),
          withBuild(running, BundleInfo::infoString(BundleInfo::versionKey))};
}

struct Texts {
  QString title;
  QString message;
};

Texts textsFor(const UpdateCheckResult& result) {
  using Outcome = UpdateCheckResult::Outcome;
  switch (result.outcome) {
    case Outcome::available: {
      const auto [offered, running] = offeredAndRunning(result.feed);
      return {UpdateResultDialog::tr("A New Version of Quelmaris Is Available"),
              UpdateResultDialog::tr("Quelmaris %1 is available. You have version %2.").arg(offered, running)};
    }
    case Outcome::upToDate:
      return {UpdateResultDialog::tr("You’re Up to Date"),
              UpdateResultDialog::tr("Quelmaris %1 is the newest version.").arg(runningVersion())};
    case Outcome::failed:
      break;
  }
  return {UpdateResultDialog::tr("The Update Check Failed"), result.error};
}

}  // namespace

UpdateResultDialog::UpdateResultDialog(const UpdateCheckResult& result, QWidget* parent) : QDialog(parent) {
  requireMainThread();
  setObjectName(QStringLiteral("updateResultDialog"));
  const Texts texts = textsFor(result);
  setWindowTitle(texts.title);
  setFixedWidth(dialogWidth);

  auto* title = new QLabel(texts.title);
  title->setTextFormat(Qt::PlainText);
  title->setFont(TextStyles::font(TextStyle::title3, font(), QFont::DemiBold));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(20, 20, 20, 16);
  column->setSpacing(10);
  column->addWidget(title);
  column->addWidget(GroupedForm::note(texts.message, this));

  auto* buttons = new QDialogButtonBox(this);
  if (result.outcome == UpdateCheckResult::Outcome::available) {
    if (!result.feed.notes.isEmpty()) {
      auto* notes = new QPlainTextEdit(this);
      notes->setObjectName(QStringLiteral("releaseNotes"));
      notes->setAccessibleName(tr("Release Notes"));
      notes->setReadOnly(true);
      notes->setPlainText(result.feed.notes);
      notes->setFixedHeight(notesHeight);
      notes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      column->addWidget(notes);
    }
    QPushButton* download = buttons->addButton(tr("Download…"), QDialogButtonBox::AcceptRole);
    download->setObjectName(QStringLiteral("downloadButton"));
    const QUrl page = result.feed.download;
    connect(download, &QPushButton::clicked, this, [page] { QDesktopServices::openUrl(page); });
    buttons->addButton(tr("Later"), QDialogButtonBox::RejectRole);
  } else {
    buttons->addButton(QDialogButtonBox::Ok);
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
}

void UpdateResultDialog::present(const UpdateCheckResult& result, QWidget* over) {
  requireMainThread();
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* shown = qobject_cast<UpdateResultDialog*>(window)) shown->close();
  auto* dialog = new UpdateResultDialog(result, over);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}
