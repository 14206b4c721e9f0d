// The user's scan choices as one value, and their translation into the
// core's configuration of a scan. Plain values, built and translated on the
// main thread; the default settings come from the core once per process.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "interface/QuelmarisCore.h"

// How candidate duplicates are grouped.
enum class MatchCriterion : std::uint8_t { nameAndSize, contentOnly };

// Which copy of each set is suggested as the keeper.
enum class KeepChoice : std::uint8_t { folderPriority, oldest, newest, shortestPath };

// Every case, in the order the option pickers list them.
inline constexpr std::array<MatchCriterion, 2> allMatchCriteria{MatchCriterion::nameAndSize,
                                                                MatchCriterion::contentOnly};
inline constexpr std::array<KeepChoice, 4> allKeepChoices{KeepChoice::folderPriority, KeepChoice::oldest,
                                                          KeepChoice::newest, KeepChoice::shortestPath};

// The stored form of a case ("nameAndSize", "folderPriority", …).
QString rawValue(MatchCriterion criterion);
QString rawValue(KeepChoice choice);
// The case whose stored form is the text; none for any other text.
std::optional<MatchCriterion> matchCriterionFromRawValue(const QString& raw);
std::optional<KeepChoice> keepChoiceFromRawValue(const QString& raw);

// The localised title shown to the user.
QString title(MatchCriterion criterion);
QString title(KeepChoice choice);

// Hashing follows the stored form, as equality does.
std::size_t qHash(MatchCriterion criterion, std::size_t seed = 0);
std::size_t qHash(KeepChoice choice, std::size_t seed = 0);

struct ScanSettings {
  std::int64_t minSize = 0;
  bool includeHidden = false;
  bool ignoreCase = false;
  // One name per line; a carriage return inside a name is written as
  // backslash and "r", so that every name fits on one line.
  QString excludedNames;
  // One extension per line, without the dot.
  QString packageExtensions;
  // 0 lets the storage medium choose.
  std::int64_t ioParallelism = 0;

  // The core's default configuration in this form; computed once.
  static const ScanSettings& defaultSettings();

  // The non-blank lines of a one-entry-per-line text, trimmed of spaces and
  // tabs, in order.
  static QList<QString> entries(const QString& text);

  // Writes these settings into a configuration, brought into the ranges the
  // core accepts.
  void apply(ScanConfig& config) const;

  bool operator==(const ScanSettings&) const = default;
};

struct ScanOptions {
  MatchCriterion criterion = MatchCriterion::nameAndSize;
  bool verifyContent = true;
  KeepChoice keep = KeepChoice::folderPriority;
  ScanSettings settings = ScanSettings::defaultSettings();

  // The configuration of one scan of the given folders; index 0 has the
  // highest priority.
  ScanConfig config(const QList<QUrl>& roots) const;

  bool operator==(const ScanOptions&) const = default;
};
