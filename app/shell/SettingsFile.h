// Where and how the settings are kept: every default-made QSettings reads and
// writes "Quelmaris/Quelmaris.conf" in the user's configuration folder
// (UserFolders) through a format of ours, in the text QSettings itself uses
// (SettingsText). QSettings replaces its file through QSaveFile, which in
// Qt 6.4 reports success and renames an empty file over the previous one when
// the disk fills at its final flush; here every byte is written and flushed to
// the disk before the file is handed back, and any failure keeps the previous
// file whole and is logged ("Saving settings failed"); the change stays in
// memory and is written with the next one. A settings file that is not a regular file of at most sizeLimit
// bytes is never opened: it is set aside as damaged (DamagedFile) and logged,
// and the settings start from their defaults. Main thread.
#pragma once

#include <QSettings>
#include <QString>

namespace SettingsFile {

// Far above any real settings file.
inline constexpr qint64 sizeLimit = qint64{16} * 1024 * 1024;

// The settings file of the organisation and application names given.
QString path();

// Makes the settings file of this run the default one, after setting a
// damaged one aside; call once the application's names are set.
void use();

// The format registered for the settings file.
QSettings::Format format();

}  // namespace SettingsFile
