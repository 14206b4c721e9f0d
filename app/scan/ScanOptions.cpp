#include "scan/ScanOptions.h"

#include <QChar>
#include <QCoreApplication>
#include <QHashFunctions>
#include <algorithm>

namespace {

// The written form of a carriage return inside an excluded name.
constexpr QLatin1String escapedReturn("\\r");
constexpr QLatin1String carriageReturn("\r");

constexpr std::int64_t maxIoParallelism = 16;

bool isTrimmed(QChar c) { return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; }

QString trimmed(const QString& piece) {
  qsizetype begin = 0;
  qsizetype end = piece.size();
  while (begin < end && isTrimmed(piece[begin])) ++begin;
  while (end > begin && isTrimmed(piece[end - 1])) --end;
  return piece.sliced(begin, end - begin);
}

QString joinedLines(const QList<QString>& entries) { return entries.join(QLatin1Char('\n')); }

ScanSettings settingsOf(const ScanConfig& config) {
  QList<QString> names;
  names.reserve(config.excludedNames.size());
  for (const QString& name : config.excludedNames) names.append(QString(name).replace(carriageReturn, escapedReturn));
  return ScanSettings{static_cast<std::int64_t>(config.minSize),
                      config.includeHidden,
                      config.ignoreCase,
                      joinedLines(names),
                      joinedLines(config.packageExtensions),
                      static_cast<std::int64_t>(config.ioParallelism)};
}

KeepRule keepRule(KeepChoice choice) {
  switch (choice) {
    case KeepChoice::folderPriority:
      return KeepRule::folderPriority;
    case KeepChoice::oldest:
      return KeepRule::oldest;
    case KeepChoice::newest:
      return KeepRule::newest;
    case KeepChoice::shortestPath:
      return KeepRule::shortestPath;
  }
  return KeepRule::folderPriority;
}

}  // namespace

QString rawValue(MatchCriterion criterion) {
  switch (criterion) {
    case MatchCriterion::nameAndSize:
      return QStringLiteral("nameAndSize");
    case MatchCriterion::contentOnly:
      return QStringLiteral("contentOnly");
  }
  return {};
}

QString rawValue(KeepChoice choice) {
  switch (choice) {
    case KeepChoice::folderPriority:
      return QStringLiteral("folderPriority");
    case KeepChoice::oldest:
      return QStringLiteral("oldest");
    case KeepChoice::newest:
      return QStringLiteral("newest");
    case KeepChoice::shortestPath:
      return QStringLiteral("shortestPath");
  }
  return {};
}

std::optional<MatchCriterion> matchCriterionFromRawValue(const QString& raw) {
  for (MatchCriterion criterion : allMatchCriteria)
    if (rawValue(criterion) == raw) return criterion;
  return std::nullopt;
}

std::optional<KeepChoice> keepChoiceFromRawValue(const QString& raw) {
  for (KeepChoice choice : allKeepChoices)
    if (rawValue(choice) == raw) return choice;
  return std::nullopt;
}

QString title(MatchCriterion criterion) {
  switch (criterion) {
    case MatchCriterion::nameAndSize:
      return QCoreApplication::translate("MatchCriterion", "Name and Size");
    case MatchCriterion::contentOnly:
      return QCoreApplication::translate("MatchCriterion", "Content Only");
  }
  return {};
}

QString title(KeepChoice choice) {
  switch (choice) {
    case KeepChoice::folderPriority:
      return QCoreApplication::translate("KeepChoice", "First Folder in the List");
    case KeepChoice::oldest:
      return QCoreApplication::translate("KeepChoice", "Oldest");
    case KeepChoice::newest:
      return QCoreApplication::translate("KeepChoice", "Newest");
    case KeepChoice::shortestPath:
      return QCoreApplication::translate("KeepChoice", "Shortest Path");
  }
  return {};
}

std::size_t qHash(MatchCriterion criterion, std::size_t seed) { return qHash(rawValue(criterion), seed); }
std::size_t qHash(KeepChoice choice, std::size_t seed) { return qHash(rawValue(choice), seed); }

const ScanSettings& ScanSettings::defaultSettings() {
  // A function-local static: initialised once, safely against concurrent first use.
  static const ScanSettings settings = settingsOf(defaultScanConfig());
  return settings;
}

QList<QString> ScanSettings::entries(const QString& text) {
  QList<QString> result;
  for (const QString& piece : text.split(QLatin1Char('\n'))) {
    QString entry = trimmed(piece);
    if (!entry.isEmpty()) result.append(std::move(entry));
  }
  return result;
}

void ScanSettings::apply(ScanConfig& config) const {
  config.minSize = static_cast<std::uint64_t>(std::max<std::int64_t>(minSize, 1));
  config.includeHidden = includeHidden;
  config.ignoreCase = ignoreCase;
  config.excludedNames = entries(excludedNames);
  for (QString& name : config.excludedNames) name.replace(escapedReturn, carriageReturn);
  config.packageExtensions = entries(packageExtensions);
  config.ioParallelism = static_cast<std::uint32_t>(std::clamp<std::int64_t>(ioParallelism, 0, maxIoParallelism));
}

ScanConfig ScanOptions::config(const QList<QUrl>& roots) const {
  ScanConfig result = defaultScanConfig();
  result.roots.clear();
  for (const QUrl& root : roots) result.roots.append(root.path(QUrl::FullyDecoded));
  result.mode = criterion == MatchCriterion::contentOnly ? MatchMode::contentOnly : MatchMode::nameAndSize;
  result.verifyContent = verifyContent;
  result.keepRule = keepRule(keep);
  settings.apply(result);
  return result;
}
