#include "interface/InterfaceRecords.h"

namespace {

template <class T>
std::size_t hashOf(const T& value, std::size_t seed) {
  return HashFeed(seed).add(value).value();
}

}  // namespace

bool operator==(const ScanConfig& a, const ScanConfig& b) {
  return sameText(a.roots, b.roots) && a.mode == b.mode && a.ignoreCase == b.ignoreCase &&
         a.verifyContent == b.verifyContent && a.minSize == b.minSize && a.includeHidden == b.includeHidden &&
         sameText(a.excludedNames, b.excludedNames) && sameText(a.packageExtensions, b.packageExtensions) &&
         a.ioParallelism == b.ioParallelism && a.keepRule == b.keepRule;
}

bool operator==(const FileEntry& a, const FileEntry& b) {
  return sameText(a.path, b.path) && sameText(a.name, b.name) && a.rootIndex == b.rootIndex && a.size == b.size &&
         a.createdNs == b.createdNs && a.modifiedNs == b.modifiedNs && a.dev == b.dev && a.ino == b.ino &&
         a.nlink == b.nlink && a.cloneId == b.cloneId && a.mayShareBlocks == b.mayShareBlocks &&
         a.freedBytes == b.freedBytes;
}

bool operator==(const DuplicateSet& a, const DuplicateSet& b) {
  return a.id == b.id && sameText(a.displayName, b.displayName) && a.size == b.size && a.files == b.files &&
         a.suggestedKeep == b.suggestedKeep && a.lookalikes == b.lookalikes && a.verified == b.verified &&
         sameText(a.contentHash, b.contentHash) && a.reclaimable == b.reclaimable &&
         a.reclaimableEstimated == b.reclaimableEstimated;
}

bool operator==(const LookalikeGroup& a, const LookalikeGroup& b) {
  return a.id == b.id && sameText(a.displayName, b.displayName) && a.size == b.size && a.files == b.files;
}

bool operator==(const SkippedItem& a, const SkippedItem& b) { return sameText(a.path, b.path) && a.reason == b.reason; }

bool operator==(const PlannedMove& a, const PlannedMove& b) {
  return a.setId == b.setId && a.file == b.file && sameText(a.keeperPath, b.keeperPath);
}

bool operator==(const PlanSkip& a, const PlanSkip& b) {
  return a.setId == b.setId && sameText(a.path, b.path) && a.reason == b.reason;
}

void feedHash(HashFeed& feed, const ScanConfig& v) {
  feed.add(v.roots).add(v.mode).add(v.ignoreCase).add(v.verifyContent).add(v.minSize).add(v.includeHidden);
  feed.add(v.excludedNames).add(v.packageExtensions).add(v.ioParallelism).add(v.keepRule);
}

void feedHash(HashFeed& feed, const FileEntry& v) {
  feed.add(v.path).add(v.name).add(v.rootIndex).add(v.size).add(v.createdNs).add(v.modifiedNs).add(v.dev);
  feed.add(v.ino).add(v.nlink).add(v.cloneId).add(v.mayShareBlocks).add(v.freedBytes);
}

void feedHash(HashFeed& feed, const DuplicateSet& v) {
  feed.add(v.id).add(v.displayName).add(v.size).add(v.files).add(v.suggestedKeep).add(v.lookalikes);
  feed.add(v.verified).add(v.contentHash).add(v.reclaimable).add(v.reclaimableEstimated);
}

void feedHash(HashFeed& feed, const LookalikeGroup& v) { feed.add(v.id).add(v.displayName).add(v.size).add(v.files); }

void feedHash(HashFeed& feed, const SkippedItem& v) { feed.add(v.path).add(v.reason); }

void feedHash(HashFeed& feed, const ScanSummary& v) {
  feed.add(v.cancelled).add(v.filesSeen).add(v.filesCompared).add(v.sets).add(v.lookalikeGroups).add(v.extraCopies);
  feed.add(v.reclaimable).add(v.reclaimableEstimated).add(v.skipped).add(v.hardLinksCollapsed).add(v.elapsedMs);
  feed.add(v.ioParallelism);
}

void feedHash(HashFeed& feed, const PlanSet& v) {
  feed.add(v.setId).add(v.files).add(v.keeper).add(v.marked).add(v.verified);
}

void feedHash(HashFeed& feed, const PlannedMove& v) { feed.add(v.setId).add(v.file).add(v.keeperPath); }

void feedHash(HashFeed& feed, const PlanSkip& v) { feed.add(v.setId).add(v.path).add(v.reason); }

void feedHash(HashFeed& feed, const TrashPlan& v) { feed.add(v.toMove).add(v.skipped); }

std::size_t qHash(const ScanConfig& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const FileEntry& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const DuplicateSet& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const LookalikeGroup& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const SkippedItem& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const ScanSummary& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const PlanSet& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const PlannedMove& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const PlanSkip& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const TrashPlan& value, std::size_t seed) { return hashOf(value, seed); }
