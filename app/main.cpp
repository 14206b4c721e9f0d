// Quelmaris: finds duplicate files in the folders the user lists and moves
// the extra copies to the Trash on confirmation.
#include <QApplication>
#include <QDBusConnection>
#include <QFileInfo>

#include "folders/FolderStore.h"
#include "platform/ProcessEnd.h"
#include "platform/SingleInstance.h"
#include "platform/Translations.h"
#include "shell/QuelmarisApp.h"
#include "shell/QuelmarisMark.h"
#include "widgets/FocusStyle.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  FocusStyle::install(application);
  declareApplicationIdentity();
  installTranslations(application);
  // A second copy would save its own folder list over the first one's: it
  // hands over to the running copy before it reads anything. Made before
  // the application object, so that the lock outlives the last save.
  SingleInstance instance(QFileInfo(FolderStore::defaultStoragePath()).path(), QDBusConnection::sessionBus());
  if (instance.claim() != SingleInstance::Claim::Running) return 0;
  QApplication::setWindowIcon(QuelmarisMark::icon());

  QuelmarisApp quelmaris;
  QObject::connect(&instance, &SingleInstance::launchedAgain, &quelmaris, [&quelmaris] { quelmaris.showMainWindow(); });
  quelmaris.showMainWindow();
  const int status = QApplication::exec();
  ProcessEnd::endWithin(ProcessEnd::grace, status);
  return status;
}
