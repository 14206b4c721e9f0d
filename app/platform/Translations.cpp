#include "platform/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace {

const QString catalogueFolder = QStringLiteral(":/i18n");
const QString catalogueName = QStringLiteral("quelmaris");

}  // namespace

void installTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  const bool found = translator->load(QLocale(), catalogueName, QStringLiteral("_"), catalogueFolder) ||
                     translator->load(catalogueName + QStringLiteral("_en"), catalogueFolder);
  if (found)
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}
