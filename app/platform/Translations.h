// Installs the application's translations: the catalogue of the user's
// language when there is one, otherwise the English one, which supplies the
// singular and plural forms of every text where a count meets a noun.
#pragma once

class QCoreApplication;

void installTranslations(QCoreApplication& application);
