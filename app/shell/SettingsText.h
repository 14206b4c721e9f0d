// The text of the settings file: the INI form that Qt's own settings files
// have, so that a file written by an earlier version reads the same and one
// written now reads in any Qt program. Every setting goes in the [General]
// section, a "/" in its key written as "\"; texts, numbers and truth values
// as text, quoted where they hold ";", "," or "=" or begin or end with a
// space; byte arrays as @ByteArray(…); lists as their items joined by ", ";
// other values in Qt's @Variant(…) stream form. Reading takes sections,
// comments, quoted and unquoted values, escapes and lists as Qt writes and
// reads them. Reentrant.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSettings>

namespace SettingsText {

QByteArray encode(const QSettings::SettingsMap& settings);
QSettings::SettingsMap decode(QByteArrayView text);

}  // namespace SettingsText
