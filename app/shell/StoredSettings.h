// The user's nine stored scan settings, read from and written to QSettings
// under the keys below. A key that is absent, or holds something that is not
// a value of its kind (for the two choices: not one of their stored names),
// reads as its default; defaults are never written by themselves. The first
// three defaults are fixed, the other six come from the core's default
// configuration. Main thread only.
#pragma once

#include <QSettings>
#include <QString>
#include <cstdint>

#include "scan/ScanOptions.h"

namespace SettingsKey {
inline const QString matchCriterion = QStringLiteral("matchCriterion");
inline const QString verifyContent = QStringLiteral("verifyContent");
inline const QString keepRule = QStringLiteral("keepRule");
inline const QString minSize = QStringLiteral("minSize");
inline const QString includeHidden = QStringLiteral("includeHidden");
inline const QString ignoreCase = QStringLiteral("ignoreCase");
inline const QString excludedNames = QStringLiteral("excludedNames");
inline const QString packageExtensions = QStringLiteral("packageExtensions");
inline const QString ioParallelism = QStringLiteral("ioParallelism");
}  // namespace SettingsKey

class StoredSettings {
 public:
  explicit StoredSettings(QSettings& settings) : settings_(settings) {}

  MatchCriterion criterion() const;
  bool verifyContent() const;
  KeepChoice keep() const;
  std::int64_t minSize() const;
  bool includeHidden() const;
  bool ignoreCase() const;
  QString excludedNames() const;
  QString packageExtensions() const;
  std::int64_t ioParallelism() const;

  // The nine values, read now, packed as the options of a scan.
  ScanOptions options() const;
  // Stores the criterion, the verification choice and the keep choice, in
  // that order; the six settings of the value are left alone.
  void writeChoices(const ScanOptions& options);

  // The six settings of the settings window, each written alone.
  void setMinSize(std::int64_t bytes);
  void setIncludeHidden(bool include);
  void setIgnoreCase(bool ignore);
  void setExcludedNames(const QString& lines);
  void setPackageExtensions(const QString& lines);
  void setIoParallelism(std::int64_t reads);
  // Writes the ignored names, the package extensions and the reads at once
  // back to their defaults, in that order; nothing else.
  void restoreAdvancedDefaults();

 private:
  QSettings& settings_;
};
