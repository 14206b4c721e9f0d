#include "verify.hpp"

#include "file_facts.hpp"
#include "hash.hpp"
#include "keep.hpp"
#include "platform/clone_info.hpp"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace quelmaris {

void ScanResults::add(const DuplicateSet& set) {
  std::lock_guard lock(mutex_);
  ++totals_.sets;
  totals_.extra_copies += set.files.size() - 1;
  totals_.reclaimable += set.reclaimable;
  totals_.reclaimable_estimated = totals_.reclaimable_estimated || set.reclaimable_estimated;
}

void ScanResults::add(const LookalikeGroup&) {
  std::lock_guard lock(mutex_);
  ++totals_.lookalike_groups;
}

ScanResults::Totals ScanResults::totals() const {
  std::lock_guard lock(mutex_);
  return totals_;
}

namespace group {

namespace {

FileEntry entry_of(const WalkedFile& file) {
  return FileEntry{file.path,       std::string(file.name()), file.root_index, file.size,
                   file.created_ns, file.modified_ns,         file.dev,        file.ino,
                   file.nlink,      std::nullopt,             false,           std::nullopt};
}

FileEntry entry_with_clone_facts(const WalkedFile& file) {
  FileEntry entry = entry_of(file);
  const auto facts = platform::clone_info(file.path);
  if (facts) {
    const auto& info = facts.value();
    entry.clone_id = info.clone_id;
    entry.may_share_blocks =
        info.ext_flags && (*info.ext_flags & (platform::kMayShareBlocks | platform::kSharesAllBlocks)) != 0;
  }
  if (file.nlink > 1) {
    entry.freed_bytes = 0;  // another name keeps the inode alive
  } else if (facts) {
    entry.freed_bytes = facts.value().private_size.value_or(file.size);
  }
  return entry;
}

std::vector<FileEntry> entries_in_order(const std::vector<WalkedFile>& files, FileEntry (*make)(const WalkedFile&)) {
  std::vector<FileEntry> entries;
  entries.reserve(files.size());
  for (const auto& file : files) entries.push_back(make(file));
  sort_entry_order(entries);
  return entries;
}

// A copy whose blocks may be shared with something other than the keeper makes
// the freed figure uncertain.
bool is_uncertain(const FileEntry& other, const FileEntry& keeper) {
  return other.may_share_blocks && (!keeper.clone_id || !other.clone_id || *keeper.clone_id != *other.clone_id);
}

void feed_little_endian(Blake3Hasher& hasher, std::uint64_t value) {
  std::uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  hasher.update(bytes, sizeof bytes);
}

struct Outcome {
  Digest digest{};
  std::optional<HashError> error;
};

// Digest groups in digest order, each keeping its files in the order taken.
std::vector<DigestGroup> regroup_by_digest(std::vector<std::pair<Digest, WalkedFile>> hashed) {
  std::stable_sort(hashed.begin(), hashed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<DigestGroup> groups;
  for (auto& [digest, file] : hashed) {
    if (groups.empty() || groups.back().digest != digest) groups.push_back({digest, {}});
    groups.back().files.push_back(std::move(file));
  }
  return groups;
}

class GroupVerifier {
public:
  GroupVerifier(CandidateGroup& group, const VerifyContext& context)
      : members_(group.files), key_(group.key()), context_(context), size_(members_.front().size) {}

  void run() {
    if (is_cancelled(context_.cancel)) return;
    auto sampled = sample_pass();
    if (!sampled) return;
    if (size_ <= hash::kSampleThreshold) {
      // Samples of small files are their full digests, read once, not yet counted.
      std::uint64_t files = 0;
      for (const auto& group : *sampled) files += group.files.size();
      credit(size_ * files);
    }
    for (auto& group : *sampled) {
      if (group.files.size() == 1) {
        if (size_ > hash::kSampleThreshold) credit(size_);
        unmatched_.push_back(std::move(group.files.front()));
      } else if (size_ <= hash::kSampleThreshold) {
        confirmed_.push_back(std::move(group));
      } else if (!full_pass(group.files)) {
        return;
      }
    }
    std::stable_sort(confirmed_.begin(), confirmed_.end(),
                     [](const DigestGroup& a, const DigestGroup& b) { return a.digest < b.digest; });
    report();
  }

private:
  template <class HashFn>
  std::vector<Outcome> hash_in_parallel(const std::vector<WalkedFile>& files, HashFn hash_one) {
    std::vector<Outcome> outcomes(files.size());
    tbb::parallel_for(std::size_t{0}, files.size(), [&](std::size_t i) {
      auto result = hash_one(i);
      if (result)
        outcomes[i].digest = result.value();
      else
        outcomes[i].error = result.error();
    });
    return outcomes;
  }

  // Sorts outcomes into digests and skips; false when the pass saw a cancel.
  bool collect(std::vector<WalkedFile>& files, const std::vector<Outcome>& outcomes,
               std::vector<std::pair<Digest, WalkedFile>>& hashed, bool flush_before_skip, bool credit_failures) {
    bool cancelled = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
      const auto& outcome = outcomes[i];
      if (!outcome.error) {
        hashed.emplace_back(outcome.digest, std::move(files[i]));
      } else if (outcome.error->kind == HashError::Kind::Cancelled) {
        cancelled = true;
      } else {
        if (credit_failures) credit(size_);
        if (flush_before_skip) context_.reporter.flush(false);
        skip(files[i], *outcome.error);
      }
    }
    return !cancelled;
  }

  std::optional<std::vector<DigestGroup>> sample_pass() {
    const auto outcomes =
        hash_in_parallel(members_, [&](std::size_t i) { return hash::hash_sample(members_[i], context_.cancel); });
    std::vector<std::pair<Digest, WalkedFile>> hashed;
    hashed.reserve(members_.size());
    if (!collect(members_, outcomes, hashed, false, true)) return std::nullopt;
    return regroup_by_digest(std::move(hashed));
  }

  bool full_pass(std::vector<WalkedFile>& files) {
    auto counters = std::make_unique<std::atomic<std::uint64_t>[]>(files.size());
    const auto outcomes = hash_in_parallel(files, [&](std::size_t i) {
      auto& counter = counters[i];
      return hash::hash_full(files[i], context_.cancel,
                             [&](std::uint64_t n) { context_.reporter.add_hashed(counter, n); });
    });
    for (std::size_t i = 0; i < files.size(); ++i) {
      const auto hashed_bytes = counters[i].load(std::memory_order_relaxed);
      // Every member counts exactly its size once its group is done.
      if (outcomes[i].error && hashed_bytes < size_) credit(size_ - hashed_bytes);
    }
    std::vector<std::pair<Digest, WalkedFile>> hashed;
    hashed.reserve(files.size());
    if (!collect(files, outcomes, hashed, true, false)) return false;
    for (auto& group : regroup_by_digest(std::move(hashed))) {
      if (group.files.size() == 1)
        unmatched_.push_back(std::move(group.files.front()));
      else
        confirmed_.push_back(std::move(group));
    }
    return true;
  }

  void report() {
    if (confirmed_.empty()) {
      if (context_.mode != MatchMode::NameAndSize || unmatched_.size() < 2) return;
      ScanEvent event{ScanEvent::LookalikeReady{build_lookalike_group(key_, unmatched_)}};
      context_.listener.on_event(event);
      context_.results.add(std::get<ScanEvent::LookalikeReady>(event.value).group);
      return;
    }
    static const std::vector<WalkedFile> kNone;
    const auto& lookalikes = context_.mode == MatchMode::NameAndSize ? unmatched_ : kNone;
    for (const auto& group : confirmed_) {
      ScanEvent event{ScanEvent::SetReady{build_set(key_, group.files, group.digest, lookalikes, context_.keep_rule)}};
      context_.listener.on_event(event);
      context_.results.add(std::get<ScanEvent::SetReady>(event.value).set);
    }
  }

  void credit(std::uint64_t bytes) {
    context_.reporter.bytes_hashed.fetch_add(bytes, std::memory_order_relaxed);
    context_.reporter.flush(false);
  }

  void skip(const WalkedFile& file, const HashError& error) {
    context_.reporter.skip(file.path, error.kind == HashError::Kind::Changed ? SkipReason{SkipReason::Changed{}}
                                                                              : skip_reason_for_errno(error.error_number));
  }

  std::vector<WalkedFile>& members_;
  const GroupKey key_;
  const VerifyContext& context_;
  const std::uint64_t size_;
  std::vector<WalkedFile> unmatched_;
  std::vector<DigestGroup> confirmed_;
};

}  // namespace

void verify_group(CandidateGroup& group, const VerifyContext& context) { GroupVerifier(group, context).run(); }

DuplicateSet build_set(const GroupKey& key, const std::vector<WalkedFile>& files, const std::optional<Digest>& digest,
                       const std::vector<WalkedFile>& lookalikes, KeepRule rule) {
  std::vector<FileEntry> entries = entries_in_order(files, entry_with_clone_facts);
  const std::uint32_t keep = choose_keeper(entries, rule);
  const FileEntry& keeper = entries[keep];

  std::uint64_t reclaimable = 0;
  bool freed_unknown = false;
  std::uint32_t uncertain = 0;
  for (std::uint32_t i = 0; i < entries.size(); ++i) {
    if (i == keep) continue;
    reclaimable += entries[i].freed_bytes.value_or(0);
    freed_unknown = freed_unknown || !entries[i].freed_bytes;
    uncertain += is_uncertain(entries[i], keeper) ? 1 : 0;
  }

  DuplicateSet set{set_id(key, entries),
                   keeper.name,
                   keeper.size,
                   {},
                   keep,
                   entries_in_order(lookalikes, entry_of),
                   digest.has_value(),
                   digest ? std::optional<std::string>(to_hex(*digest)) : std::nullopt,
                   reclaimable,
                   freed_unknown || uncertain > 1};
  set.files = std::move(entries);
  return set;
}

LookalikeGroup build_lookalike_group(const GroupKey& key, const std::vector<WalkedFile>& files) {
  std::vector<FileEntry> entries = entries_in_order(files, entry_of);
  const std::uint64_t id = set_id(key, entries);
  std::string name = entries.front().name;
  const std::uint64_t size = entries.front().size;
  return LookalikeGroup{id, std::move(name), size, std::move(entries)};
}

std::uint64_t set_id(const GroupKey& key, const std::vector<FileEntry>& entries) {
  std::vector<DevIno> pairs;
  pairs.reserve(entries.size());
  for (const auto& entry : entries) pairs.push_back({entry.dev, entry.ino});
  sort_identity_order(pairs);
  Blake3Hasher hasher;
  // The name's length first, so that no other name and size feed the same bytes.
  feed_little_endian(hasher, key.name.size());
  hasher.update(key.name);
  feed_little_endian(hasher, key.size);
  for (const auto& pair : pairs) {
    feed_little_endian(hasher, pair.dev);
    feed_little_endian(hasher, pair.ino);
  }
  const Digest digest = hasher.finalize();
  std::uint64_t id = 0;
  for (int i = 7; i >= 0; --i) id = (id << 8) | digest[static_cast<std::size_t>(i)];
  return id;
}

}  // namespace group
}  // namespace quelmaris
