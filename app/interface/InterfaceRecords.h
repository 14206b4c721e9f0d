// The application's mirrors of the records that cross the call interface:
// plain values with every field given, the same fields in the same order as
// the core's. Equal when every field is equal (text by canonical equivalence);
// qHash is consistent with that. Identity is not equality: the application
// keys a set or lookalike group by its id and a file by its path.
#pragma once

#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "interface/InterfaceEnums.h"
#include "interface/ValueSemantics.h"

struct ScanConfig {
  QList<QString> roots;
  MatchMode mode;
  bool ignoreCase;
  bool verifyContent;
  std::uint64_t minSize;
  bool includeHidden;
  QList<QString> excludedNames;
  QList<QString> packageExtensions;
  std::uint32_t ioParallelism;
  KeepRule keepRule;
  friend bool operator==(const ScanConfig& a, const ScanConfig& b);
};

struct FileEntry {
  QString path;
  QString name;
  std::uint32_t rootIndex;
  std::uint64_t size;
  std::optional<std::int64_t> createdNs;
  std::int64_t modifiedNs;
  std::uint64_t dev;
  std::uint64_t ino;
  std::uint32_t nlink;
  std::optional<std::uint64_t> cloneId;
  bool mayShareBlocks;
  std::optional<std::uint64_t> freedBytes;
  friend bool operator==(const FileEntry& a, const FileEntry& b);
};

struct DuplicateSet {
  std::uint64_t id;
  QString displayName;
  std::uint64_t size;
  QList<FileEntry> files;
  std::uint32_t suggestedKeep;
  QList<FileEntry> lookalikes;
  bool verified;
  std::optional<QString> contentHash;
  std::uint64_t reclaimable;
  bool reclaimableEstimated;
  friend bool operator==(const DuplicateSet& a, const DuplicateSet& b);
};

struct LookalikeGroup {
  std::uint64_t id;
  QString displayName;
  std::uint64_t size;
  QList<FileEntry> files;
  friend bool operator==(const LookalikeGroup& a, const LookalikeGroup& b);
};

struct SkippedItem {
  QString path;
  SkipReason reason;
  friend bool operator==(const SkippedItem& a, const SkippedItem& b);
};

struct ScanSummary {
  bool cancelled;
  std::uint64_t filesSeen;
  std::uint64_t filesCompared;
  std::uint64_t sets;
  std::uint64_t lookalikeGroups;
  std::uint64_t extraCopies;
  std::uint64_t reclaimable;
  bool reclaimableEstimated;
  std::uint64_t skipped;
  std::uint64_t hardLinksCollapsed;
  std::uint64_t elapsedMs;
  std::uint32_t ioParallelism;
  bool operator==(const ScanSummary&) const = default;
};

struct PlanSet {
  std::uint64_t setId;
  QList<FileEntry> files;
  std::uint32_t keeper;
  QList<std::uint32_t> marked;
  bool verified;
  bool operator==(const PlanSet&) const = default;
};

struct PlannedMove {
  std::uint64_t setId;
  FileEntry file;
  QString keeperPath;
  friend bool operator==(const PlannedMove& a, const PlannedMove& b);
};

struct PlanSkip {
  std::uint64_t setId;
  QString path;
  PlanSkipReason reason;
  friend bool operator==(const PlanSkip& a, const PlanSkip& b);
};

struct TrashPlan {
  QList<PlannedMove> toMove;
  QList<PlanSkip> skipped;
  bool operator==(const TrashPlan&) const = default;
};

void feedHash(HashFeed& feed, const ScanConfig& value);
void feedHash(HashFeed& feed, const FileEntry& value);
void feedHash(HashFeed& feed, const DuplicateSet& value);
void feedHash(HashFeed& feed, const LookalikeGroup& value);
void feedHash(HashFeed& feed, const SkippedItem& value);
void feedHash(HashFeed& feed, const ScanSummary& value);
void feedHash(HashFeed& feed, const PlanSet& value);
void feedHash(HashFeed& feed, const PlannedMove& value);
void feedHash(HashFeed& feed, const PlanSkip& value);
void feedHash(HashFeed& feed, const TrashPlan& value);

std::size_t qHash(const ScanConfig& value, std::size_t seed = 0);
std::size_t qHash(const FileEntry& value, std::size_t seed = 0);
std::size_t qHash(const DuplicateSet& value, std::size_t seed = 0);
std::size_t qHash(const LookalikeGroup& value, std::size_t seed = 0);
std::size_t qHash(const SkippedItem& value, std::size_t seed = 0);
std::size_t qHash(const ScanSummary& value, std::size_t seed = 0);
std::size_t qHash(const PlanSet& value, std::size_t seed = 0);
std::size_t qHash(const PlannedMove& value, std::size_t seed = 0);
std::size_t qHash(const PlanSkip& value, std::size_t seed = 0);
std::size_t qHash(const TrashPlan& value, std::size_t seed = 0);
