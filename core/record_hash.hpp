// Hashing of the interface values, consistent with their equality: every
// field is fed in declaration order; an optional feeds 0 or 1 and then its
// value, a list its length and then its elements, an enum its case position
// and then its payload. std::hash is specialised for every record and enum.
#pragma once

#include "records.hpp"

#include <cstddef>
#include <functional>
#include <string_view>
#include <type_traits>

namespace quelmaris {

// FNV-1a over the fed bytes: deterministic across runs, enough for hash tables.
class HashFeeder {
public:
  void bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) state_ = (state_ ^ p[i]) * 0x100000001b3ULL;
  }
  std::uint64_t value() const { return state_; }

private:
  std::uint64_t state_ = 0xcbf29ce484222325ULL;
};

template <class T>
  requires std::is_arithmetic_v<T>
void hash_append(HashFeeder& h, T v) {
  h.bytes(&v, sizeof v);
}
template <class E>
  requires std::is_enum_v<E>
void hash_append(HashFeeder& h, E e) {
  hash_append(h, static_cast<std::uint64_t>(e));
}
inline void hash_append(HashFeeder& h, std::string_view s) {
  hash_append(h, static_cast<std::uint64_t>(s.size()));
  h.bytes(s.data(), s.size());
}
inline void hash_append(HashFeeder& h, const std::string& s) { hash_append(h, std::string_view(s)); }
template <class T>
void hash_append(HashFeeder& h, const std::optional<T>& o) {
  hash_append(h, static_cast<std::uint8_t>(o.has_value()));
  if (o) hash_append(h, *o);
}
template <class T>
void hash_append(HashFeeder& h, const std::vector<T>& list) {
  hash_append(h, static_cast<std::uint64_t>(list.size()));
  for (const auto& item : list) hash_append(h, item);
}
template <class... Cases>
void hash_append(HashFeeder& h, const std::variant<Cases...>& v) {
  hash_append(h, static_cast<std::uint64_t>(v.index()));
  std::visit([&h](const auto& c) { hash_payload(h, c); }, v);
}

// Payloads of enum cases.
inline void hash_payload(HashFeeder&, const SkipReason::Dataless&) {}
inline void hash_payload(HashFeeder&, const SkipReason::Permission&) {}
inline void hash_payload(HashFeeder& h, const SkipReason::Io& c) { hash_append(h, c.errno_value); }
inline void hash_payload(HashFeeder&, const SkipReason::InvalidName&) {}
inline void hash_payload(HashFeeder&, const SkipReason::Changed&) {}
inline void hash_payload(HashFeeder& h, const RootSkipReason::NestedIn& c) { hash_append(h, c.root); }
inline void hash_payload(HashFeeder& h, const RootSkipReason::Duplicate& c) { hash_append(h, c.root); }
inline void hash_payload(HashFeeder&, const RootSkipReason::Missing&) {}
inline void hash_payload(HashFeeder&, const RootSkipReason::NotADirectory&) {}
inline void hash_payload(HashFeeder& h, const RootSkipReason::Unreadable& c) { hash_append(h, c.errno_value); }
inline void hash_payload(HashFeeder& h, const InvariantViolation::KeeperMarked& c) { hash_append(h, c.set_id); }
inline void hash_payload(HashFeeder& h, const InvariantViolation::AllMarked& c) { hash_append(h, c.set_id); }
inline void hash_payload(HashFeeder& h, const InvariantViolation::IndexOutOfRange& c) {
  hash_append(h, c.set_id);
  hash_append(h, c.index);
}
inline void hash_payload(HashFeeder& h, const InvariantViolation::SameInodeAsKeeper& c) { hash_append(h, c.set_id); }
inline void hash_payload(HashFeeder& h, const InvariantViolation::TooSmall& c) { hash_append(h, c.set_id); }

inline void hash_append(HashFeeder& h, const SkipReason& r) { hash_append(h, r.value); }
inline void hash_append(HashFeeder& h, const RootSkipReason& r) { hash_append(h, r.value); }
inline void hash_append(HashFeeder& h, const InvariantViolation& r) { hash_append(h, r.value); }

inline void hash_append(HashFeeder& h, const ScanConfig& c) {
  hash_append(h, c.roots);
  hash_append(h, c.mode);
  hash_append(h, c.ignore_case);
  hash_append(h, c.verify_content);
  hash_append(h, c.min_size);
  hash_append(h, c.include_hidden);
  hash_append(h, c.excluded_names);
  hash_append(h, c.package_extensions);
  hash_append(h, c.io_parallelism);
  hash_append(h, c.keep_rule);
}
inline void hash_append(HashFeeder& h, const FileEntry& f) {
  hash_append(h, f.path);
  hash_append(h, f.name);
  hash_append(h, f.root_index);
  hash_append(h, f.size);
  hash_append(h, f.created_ns);
  hash_append(h, f.modified_ns);
  hash_append(h, f.dev);
  hash_append(h, f.ino);
  hash_append(h, f.nlink);
  hash_append(h, f.clone_id);
  hash_append(h, f.may_share_blocks);
  hash_append(h, f.freed_bytes);
}
inline void hash_append(HashFeeder& h, const DuplicateSet& s) {
  hash_append(h, s.id);
  hash_append(h, s.display_name);
  hash_append(h, s.size);
  hash_append(h, s.files);
  hash_append(h, s.suggested_keep);
  hash_append(h, s.lookalikes);
  hash_append(h, s.verified);
  hash_append(h, s.content_hash);
  hash_append(h, s.reclaimable);
  hash_append(h, s.reclaimable_estimated);
}
inline void hash_append(HashFeeder& h, const LookalikeGroup& g) {
  hash_append(h, g.id);
  hash_append(h, g.display_name);
  hash_append(h, g.size);
  hash_append(h, g.files);
}
inline void hash_append(HashFeeder& h, const SkippedItem& s) {
  hash_append(h, s.path);
  hash_append(h, s.reason);
}
inline void hash_append(HashFeeder& h, const ScanSummary& s) {
  hash_append(h, s.cancelled);
  hash_append(h, s.files_seen);
  hash_append(h, s.files_compared);
  hash_append(h, s.sets);
  hash_append(h, s.lookalike_groups);
  hash_append(h, s.extra_copies);
  hash_append(h, s.reclaimable);
  hash_append(h, s.reclaimable_estimated);
  hash_append(h, s.skipped);
  hash_append(h, s.hard_links_collapsed);
  hash_append(h, s.elapsed_ms);
  hash_append(h, s.io_parallelism);
}
inline void hash_append(HashFeeder& h, const PlanSet& p) {
  hash_append(h, p.set_id);
  hash_append(h, p.files);
  hash_append(h, p.keeper);
  hash_append(h, p.marked);
  hash_append(h, p.verified);
}
inline void hash_append(HashFeeder& h, const PlannedMove& m) {
  hash_append(h, m.set_id);
  hash_append(h, m.file);
  hash_append(h, m.keeper_path);
}
inline void hash_append(HashFeeder& h, const PlanSkip& s) {
  hash_append(h, s.set_id);
  hash_append(h, s.path);
  hash_append(h, s.reason);
}
inline void hash_append(HashFeeder& h, const TrashPlan& p) {
  hash_append(h, p.to_move);
  hash_append(h, p.skipped);
}

inline void hash_payload(HashFeeder& h, const ScanEvent::Phase& c) { hash_append(h, c.phase); }
inline void hash_payload(HashFeeder& h, const ScanEvent::Progress& c) {
  hash_append(h, c.files_seen);
  hash_append(h, c.bytes_hashed);
  hash_append(h, c.bytes_to_hash);
}
inline void hash_payload(HashFeeder& h, const ScanEvent::RootSkipped& c) {
  hash_append(h, c.path);
  hash_append(h, c.reason);
}
inline void hash_payload(HashFeeder& h, const ScanEvent::Skipped& c) { hash_append(h, c.items); }
inline void hash_payload(HashFeeder& h, const ScanEvent::SetReady& c) { hash_append(h, c.set); }
inline void hash_payload(HashFeeder& h, const ScanEvent::LookalikeReady& c) { hash_append(h, c.group); }
inline void hash_payload(HashFeeder& h, const ScanEvent::Finished& c) { hash_append(h, c.summary); }
inline void hash_payload(HashFeeder& h, const ScanEvent::Failed& c) { hash_append(h, c.error); }
inline void hash_append(HashFeeder& h, const ScanEvent& e) { hash_append(h, e.value); }

template <class T>
std::size_t hash_value(const T& value) {
  HashFeeder h;
  hash_append(h, value);
  return static_cast<std::size_t>(h.value());
}

}  // namespace quelmaris

#define QUELMARIS_STD_HASH(T)                                                              \
  template <>                                                                              \
  struct std::hash<quelmaris::T> {                                                         \
    std::size_t operator()(const quelmaris::T& v) const { return quelmaris::hash_value(v); } \
  };
QUELMARIS_STD_HASH(SkipReason)
QUELMARIS_STD_HASH(RootSkipReason)
QUELMARIS_STD_HASH(InvariantViolation)
QUELMARIS_STD_HASH(ScanConfig)
QUELMARIS_STD_HASH(FileEntry)
QUELMARIS_STD_HASH(DuplicateSet)
QUELMARIS_STD_HASH(LookalikeGroup)
QUELMARIS_STD_HASH(SkippedItem)
QUELMARIS_STD_HASH(ScanSummary)
QUELMARIS_STD_HASH(PlanSet)
QUELMARIS_STD_HASH(PlannedMove)
QUELMARIS_STD_HASH(PlanSkip)
QUELMARIS_STD_HASH(TrashPlan)
QUELMARIS_STD_HASH(ScanEvent)
#undef QUELMARIS_STD_HASH
