// Verification and set building. verify_group splits one candidate group by
// content (a sample digest first, the full digest only where samples agree),
// builds a DuplicateSet for every content-equal subset, or a LookalikeGroup
// when nothing matched under NameAndSize, and sends each the moment it is
// built. Runs on hash-pool threads, many groups at once; the sample and full
// passes are parallel jobs in the same pool.
#pragma once

#include "blake3_hasher.hpp"
#include "group.hpp"
#include "orderings.hpp"
#include "progress.hpp"
#include "records.hpp"
#include "walk.hpp"

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace quelmaris {

// What the scan keeps of the sets and lookalike groups it reported: their
// totals, which is all the summary needs. Guarded by one mutex.
class ScanResults {
public:
  void add(const DuplicateSet& set);
  void add(const LookalikeGroup& group);

  struct Totals {
    std::uint64_t sets = 0;
    std::uint64_t lookalike_groups = 0;
    std::uint64_t extra_copies = 0;
    std::uint64_t reclaimable = 0;
    bool reclaimable_estimated = false;
  };
  Totals totals() const;

private:
  mutable std::mutex mutex_;
  Totals totals_;
};

struct VerifyContext {
  const CancelFlag& cancel;
  MatchMode mode;
  KeepRule keep_rule;
  ProgressReporter& reporter;
  ScanListener& listener;
  ScanResults& results;
};

namespace group {

void verify_group(CandidateGroup& group, const VerifyContext& context);

// `key` is the grouping key of the candidate group the files come from.
DuplicateSet build_set(const GroupKey& key, const std::vector<WalkedFile>& files, const std::optional<Digest>& digest,
                       const std::vector<WalkedFile>& lookalikes, KeepRule rule);
LookalikeGroup build_lookalike_group(const GroupKey& key, const std::vector<WalkedFile>& files);

// The same files under the same key give the same id in every scan, whatever
// their paths, roots or order. The key keeps apart the results over one set
// of inodes that hard links with other names put under several keys; within
// one key, the results of a scan share no inode.
std::uint64_t set_id(const GroupKey& key, const std::vector<FileEntry>& entries);

}  // namespace group
}  // namespace quelmaris
