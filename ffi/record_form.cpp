#include "value_form.hpp"

namespace quelmaris::ffi {

namespace {

std::string read_text(ByteReader& r) { return r.text(); }
std::uint32_t read_u32(ByteReader& r) { return r.u32(); }
std::int64_t read_i64(ByteReader& r) { return r.i64(); }
std::uint64_t read_u64(ByteReader& r) { return r.u64(); }

}  // namespace

void write(ByteWriter& w, const std::string& v) { w.text(v); }

void write(ByteWriter& w, const ScanConfig& v) {
  write(w, v.roots);
  write(w, v.mode);
  w.boolean(v.ignore_case);
  w.boolean(v.verify_content);
  w.u64(v.min_size);
  w.boolean(v.include_hidden);
  write(w, v.excluded_names);
  write(w, v.package_extensions);
  w.u32(v.io_parallelism);
  write(w, v.keep_rule);
}

void write(ByteWriter& w, const FileEntry& v) {
  w.text(v.path);
  w.text(v.name);
  w.u32(v.root_index);
  w.u64(v.size);
  write_optional(w, v.created_ns, [&w](std::int64_t ns) { w.i64(ns); });
  w.i64(v.modified_ns);
  w.u64(v.dev);
  w.u64(v.ino);
  w.u32(v.nlink);
  write_optional(w, v.clone_id, [&w](std::uint64_t id) { w.u64(id); });
  w.boolean(v.may_share_blocks);
  write_optional(w, v.freed_bytes, [&w](std::uint64_t bytes) { w.u64(bytes); });
}

void write(ByteWriter& w, const PlanSet& v) {
  w.u64(v.set_id);
  write(w, v.files);
  w.u32(v.keeper);
  w.length(v.marked.size());
  for (const std::uint32_t index : v.marked) w.u32(index);
  w.boolean(v.verified);
}

void write(ByteWriter& w, const PlannedMove& v) {
  w.u64(v.set_id);
  write(w, v.file);
  w.text(v.keeper_path);
}

void write(ByteWriter& w, const PlanSkip& v) {
  w.u64(v.set_id);
  w.text(v.path);
  write(w, v.reason);
}

void write(ByteWriter& w, const TrashPlan& v) {
  write(w, v.to_move);
  write(w, v.skipped);
}

// Designated initialisers run in declaration order, which is the order of
// the fields on the wire; the compiler refuses any other order.
template <>
ScanConfig read<ScanConfig>(ByteReader& r) {
  return ScanConfig{.roots = read_list(r, &read_text),
                    .mode = read<MatchMode>(r),
                    .ignore_case = r.boolean(),
                    .verify_content = r.boolean(),
                    .min_size = r.u64(),
                    .include_hidden = r.boolean(),
                    .excluded_names = read_list(r, &read_text),
                    .package_extensions = read_list(r, &read_text),
                    .io_parallelism = r.u32(),
                    .keep_rule = read<KeepRule>(r)};
}

template <>
FileEntry read<FileEntry>(ByteReader& r) {
  return FileEntry{.path = r.text(),
                   .name = r.text(),
                   .root_index = r.u32(),
                   .size = r.u64(),
                   .created_ns = read_optional(r, &read_i64),
                   .modified_ns = r.i64(),
                   .dev = r.u64(),
                   .ino = r.u64(),
                   .nlink = r.u32(),
                   .clone_id = read_optional(r, &read_u64),
                   .may_share_blocks = r.boolean(),
                   .freed_bytes = read_optional(r, &read_u64)};
}

template <>
PlanSet read<PlanSet>(ByteReader& r) {
  return PlanSet{.set_id = r.u64(),
                 .files = read_list<FileEntry>(r),
                 .keeper = r.u32(),
                 .marked = read_list(r, &read_u32),
                 .verified = r.boolean()};
}

}  // namespace quelmaris::ffi
