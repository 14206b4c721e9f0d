// Quelmaris: finds duplicate files in the folders the user lists and moves
// the extra copies to the Trash on confirmation.
#include <QApplication>
#include <QNetworkProxyFactory>

#include "platform/ProcessEnd.h"
#include "platform/Translations.h"
#include "shell/QuelmarisApp.h"
#include "shell/QuelmarisMark.h"
#include "widgets/FocusStyle.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  FocusStyle::install(application);
  declareApplicationIdentity();
  installTranslations(application);
  QApplication::setWindowIcon(QuelmarisMark::icon());
  // The update check goes through the proxy the desktop or the environment names.
  QNetworkProxyFactory::setUseSystemConfiguration(true);

  QuelmarisApp quelmaris;
  quelmaris.showMainWindow();
  const int status = QApplication::exec();
  ProcessEnd::endWithin(ProcessEnd::grace, status);
  return status;
}
