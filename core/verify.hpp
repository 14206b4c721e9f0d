// Verification and set building. verify_group splits one candidate group by
// content (a sample digest first, the full digest only where samples agree),
// builds a DuplicateSet for every content-equal subset, or a LookalikeGroup
// when nothing matched under NameAndSize, and sends each the moment it is
// built. Runs on hash-pool threads, many groups at once; the sample and full
// passes are parallel jobs in the same pool.
#pragma once

#include "blake3_hasher.hpp"
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

void verify_group(std::vector<WalkedFile>& members, const VerifyContext& context);

DuplicateSet build_set(const std::vector<WalkedFile>& files, const std::optional<Digest>& digest,
                       const std::vector<WalkedFile>& lookalikes, KeepRule rule);
LookalikeGroup build_lookalike_group(const std::vector<WalkedFile>& files);

std::uint64_t set_id(const std::vector<FileEntry>& entries);

}  // namespace group
}  // namespace quelmaris
