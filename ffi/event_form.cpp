#include <type_traits>
#include <variant>

#include "value_form.hpp"

namespace quelmaris::ffi {

namespace {

std::string read_text(ByteReader& r) { return r.text(); }

}  // namespace

void write(ByteWriter& w, const DuplicateSet& v) {
  w.u64(v.id);
  w.text(v.display_name);
  w.u64(v.size);
  write(w, v.files);
  w.u32(v.suggested_keep);
  write(w, v.lookalikes);
  w.boolean(v.verified);
  write_optional(w, v.content_hash, [&w](const std::string& hash) { w.text(hash); });
  w.u64(v.reclaimable);
  w.boolean(v.reclaimable_estimated);
}

void write(ByteWriter& w, const LookalikeGroup& v) {
  w.u64(v.id);
  w.text(v.display_name);
  w.u64(v.size);
  write(w, v.files);
}

void write(ByteWriter& w, const SkippedItem& v) {
  w.text(v.path);
  write(w, v.reason);
}

void write(ByteWriter& w, const ScanSummary& v) {
  w.boolean(v.cancelled);
  w.u64(v.files_seen);
  w.u64(v.files_compared);
  w.u64(v.sets);
  w.u64(v.lookalike_groups);
  w.u64(v.extra_copies);
  w.u64(v.reclaimable);
  w.boolean(v.reclaimable_estimated);
  w.u64(v.skipped);
  w.u64(v.hard_links_collapsed);
  w.u64(v.elapsed_ms);
  w.u32(v.io_parallelism);
}

void write(ByteWriter& w, const ScanEvent& v) {
  w.i32(static_cast<std::int32_t>(v.value.index()) + 1);
  std::visit(
      [&w](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, ScanEvent::Phase>) {
          write(w, e.phase);
        } else if constexpr (std::is_same_v<E, ScanEvent::Progress>) {
          w.u64(e.files_seen);
          w.u64(e.bytes_hashed);
          w.u64(e.bytes_to_hash);
        } else if constexpr (std::is_same_v<E, ScanEvent::RootSkipped>) {
          w.text(e.path);
          write(w, e.reason);
        } else if constexpr (std::is_same_v<E, ScanEvent::Skipped>) {
          write(w, e.items);
        } else if constexpr (std::is_same_v<E, ScanEvent::SetReady>) {
          write(w, e.set);
        } else if constexpr (std::is_same_v<E, ScanEvent::LookalikeReady>) {
          write(w, e.group);
        } else if constexpr (std::is_same_v<E, ScanEvent::Finished>) {
          write(w, e.summary);
        } else {
          static_assert(std::is_same_v<E, ScanEvent::Failed>);
          w.text(e.error);
        }
      },
      v.value);
}

// Designated initialisers run in declaration order, the order on the wire.
template <>
DuplicateSet read<DuplicateSet>(ByteReader& r) {
  return DuplicateSet{.id = r.u64(),
                      .display_name = r.text(),
                      .size = r.u64(),
                      .files = read_list<FileEntry>(r),
                      .suggested_keep = r.u32(),
                      .lookalikes = read_list<FileEntry>(r),
                      .verified = r.boolean(),
                      .content_hash = read_optional(r, &read_text),
                      .reclaimable = r.u64(),
                      .reclaimable_estimated = r.boolean()};
}

template <>
LookalikeGroup read<LookalikeGroup>(ByteReader& r) {
  return LookalikeGroup{.id = r.u64(), .display_name = r.text(), .size = r.u64(), .files = read_list<FileEntry>(r)};
}

template <>
SkippedItem read<SkippedItem>(ByteReader& r) {
  return SkippedItem{.path = r.text(), .reason = read<SkipReason>(r)};
}

template <>
ScanSummary read<ScanSummary>(ByteReader& r) {
  return ScanSummary{.cancelled = r.boolean(),
                     .files_seen = r.u64(),
                     .files_compared = r.u64(),
                     .sets = r.u64(),
                     .lookalike_groups = r.u64(),
                     .extra_copies = r.u64(),
                     .reclaimable = r.u64(),
                     .reclaimable_estimated = r.boolean(),
                     .skipped = r.u64(),
                     .hard_links_collapsed = r.u64(),
                     .elapsed_ms = r.u64(),
                     .io_parallelism = r.u32()};
}

template <>
ScanEvent read<ScanEvent>(ByteReader& r) {
  switch (r.tag(8, "ScanEvent")) {
    case 0:
      return {ScanEvent::Phase{read<Phase>(r)}};
    case 1:
      return {ScanEvent::Progress{r.u64(), r.u64(), r.u64()}};
    case 2:
      return {ScanEvent::RootSkipped{r.text(), read<RootSkipReason>(r)}};
    case 3:
      return {ScanEvent::Skipped{read_list<SkippedItem>(r)}};
    case 4:
      return {ScanEvent::SetReady{read<DuplicateSet>(r)}};
    case 5:
      return {ScanEvent::LookalikeReady{read<LookalikeGroup>(r)}};
    case 6:
      return {ScanEvent::Finished{read<ScanSummary>(r)}};
    default:
      return {ScanEvent::Failed{r.text()}};
  }
}

}  // namespace quelmaris::ffi
