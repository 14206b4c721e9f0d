#include "shell/StoredSettings.h"

#include <QStringList>
#include <QVariant>

#include "platform/MainThread.h"

namespace {

bool readBool(const QSettings& settings, const QString& key, bool fallback) {
  const QVariant value = settings.value(key);
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  const QString text = value.toString().trimmed().toLower();
  if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
  if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
  return fallback;
}

std::int64_t readInteger(const QSettings& settings, const QString& key, std::int64_t fallback) {
  const QVariant value = settings.value(key);
  if (!value.isValid()) return fallback;
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  return ok ? number : fallback;
}

// The settings file splits an unquoted text at commas; such a value is put
// back together as it was written.
QString readText(const QSettings& settings, const QString& key, const QString& fallback) {
  const QVariant value = settings.value(key);
  if (value.typeId() == QMetaType::QString) return value.toString();
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
  return fallback;
}

const ScanSettings& defaults() { return ScanSettings::defaultSettings(); }

}  // namespace

MatchCriterion StoredSettings::criterion() const {
  requireMainThread();
  return matchCriterionFromRawValue(readText(settings_, SettingsKey::matchCriterion, QString()))
      .value_or(MatchCriterion::nameAndSize);
}

bool StoredSettings::verifyContent() const { return readBool(settings_, SettingsKey::verifyContent, true); }

KeepChoice StoredSettings::keep() const {
  return keepChoiceFromRawValue(readText(settings_, SettingsKey::keepRule, QString()))
      .value_or(KeepChoice::folderPriority);
}

std::int64_t StoredSettings::minSize() const { return readInteger(settings_, SettingsKey::minSize, defaults().minSize); }

bool StoredSettings::includeHidden() const {
  return readBool(settings_, SettingsKey::includeHidden, defaults().includeHidden);
}

bool StoredSettings::ignoreCase() const { return readBool(settings_, SettingsKey::ignoreCase, defaults().ignoreCase); }

QString StoredSettings::excludedNames() const {
  return readText(settings_, SettingsKey::excludedNames, defaults().excludedNames);
}

QString StoredSettings::packageExtensions() const {
  return readText(settings_, SettingsKey::packageExtensions, defaults().packageExtensions);
}

std::int64_t StoredSettings::ioParallelism() const {
  return readInteger(settings_, SettingsKey::ioParallelism, defaults().ioParallelism);
}

ScanOptions StoredSettings::options() const {
  requireMainThread();
  const MatchCriterion matchCriterion = criterion();
  const bool verify = verifyContent();
  const KeepChoice keepChoice = keep();
  ScanSettings settings;
  settings.minSize = minSize();
  settings.includeHidden = includeHidden();
  settings.ignoreCase = ignoreCase();
  settings.excludedNames = excludedNames();
  settings.packageExtensions = packageExtensions();
  settings.ioParallelism = ioParallelism();
  return ScanOptions{matchCriterion, verify, keepChoice, settings};
}

void StoredSettings::writeChoices(const ScanOptions& options) {
  requireMainThread();
  settings_.setValue(SettingsKey::matchCriterion, rawValue(options.criterion));
  settings_.setValue(SettingsKey::verifyContent, options.verifyContent);
  settings_.setValue(SettingsKey::keepRule, rawValue(options.keep));
}

void StoredSettings::setMinSize(std::int64_t bytes) {
  requireMainThread();
  settings_.setValue(SettingsKey::minSize, qlonglong{bytes});
}

void StoredSettings::setIncludeHidden(bool include) {
  requireMainThread();
  settings_.setValue(SettingsKey::includeHidden, include);
}

void StoredSettings::setIgnoreCase(bool ignore) {
  requireMainThread();
  settings_.setValue(SettingsKey::ignoreCase, ignore);
}

void StoredSettings::setExcludedNames(const QString& lines) {
  requireMainThread();
  settings_.setValue(SettingsKey::excludedNames, lines);
}

void StoredSettings::setPackageExtensions(const QString& lines) {
  requireMainThread();
  settings_.setValue(SettingsKey::packageExtensions, lines);
}

void StoredSettings::setIoParallelism(std::int64_t reads) {
  requireMainThread();
  settings_.setValue(SettingsKey::ioParallelism, qlonglong{reads});
}

void StoredSettings::restoreAdvancedDefaults() {
  setExcludedNames(defaults().excludedNames);
  setPackageExtensions(defaults().packageExtensions);
  setIoParallelism(defaults().ioParallelism);
}
