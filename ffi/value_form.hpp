// The byte form of every record and enum of the call interface: fields in
// declaration order, enums as an i32 tag counted from 1 followed by the
// case's payload. Writers exist for every value; readers for the values the
// core receives (its arguments, and events for listeners of its own).
// lower() turns a value into a new CoreBuffer; lift() reads a whole byte
// range and rejects bytes left over. Reading failures throw ReadError.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "byte_reader.hpp"
#include "byte_writer.hpp"
#include "records.hpp"

namespace quelmaris::ffi {

void write(ByteWriter& w, MatchMode v);
void write(ByteWriter& w, KeepRule v);
void write(ByteWriter& w, Phase v);
void write(ByteWriter& w, PlanSkipReason v);
void write(ByteWriter& w, Identity v);
void write(ByteWriter& w, const SkipReason& v);
void write(ByteWriter& w, const RootSkipReason& v);
void write(ByteWriter& w, const InvariantViolation& v);
void write(ByteWriter& w, const ScanConfig& v);
void write(ByteWriter& w, const FileEntry& v);
void write(ByteWriter& w, const DuplicateSet& v);
void write(ByteWriter& w, const LookalikeGroup& v);
void write(ByteWriter& w, const SkippedItem& v);
void write(ByteWriter& w, const ScanSummary& v);
void write(ByteWriter& w, const PlanSet& v);
void write(ByteWriter& w, const PlannedMove& v);
void write(ByteWriter& w, const PlanSkip& v);
void write(ByteWriter& w, const TrashPlan& v);
void write(ByteWriter& w, const ScanEvent& v);
void write(ByteWriter& w, const std::string& v);

template <class T>
void write(ByteWriter& w, const std::vector<T>& items) {
  w.length(items.size());
  for (const T& item : items) write(w, item);
}

template <class T, class WriteValue>
void write_optional(ByteWriter& w, const std::optional<T>& v, WriteValue write_value) {
  w.u8(v ? 1 : 0);
  if (v) write_value(*v);
}

template <class T>
T read(ByteReader& r);

template <class ReadValue>
auto read_optional(ByteReader& r, ReadValue read_value) -> std::optional<decltype(read_value(r))> {
  if (!r.optional_present()) return std::nullopt;
  return read_value(r);
}

template <>
MatchMode read<MatchMode>(ByteReader& r);
template <>
KeepRule read<KeepRule>(ByteReader& r);
template <>
Phase read<Phase>(ByteReader& r);
template <>
SkipReason read<SkipReason>(ByteReader& r);
template <>
RootSkipReason read<RootSkipReason>(ByteReader& r);
template <>
ScanConfig read<ScanConfig>(ByteReader& r);
template <>
FileEntry read<FileEntry>(ByteReader& r);
template <>
DuplicateSet read<DuplicateSet>(ByteReader& r);
template <>
LookalikeGroup read<LookalikeGroup>(ByteReader& r);
template <>
SkippedItem read<SkippedItem>(ByteReader& r);
template <>
ScanSummary read<ScanSummary>(ByteReader& r);
template <>
PlanSet read<PlanSet>(ByteReader& r);
template <>
ScanEvent read<ScanEvent>(ByteReader& r);

template <class T>
std::vector<T> read_list(ByteReader& r, T (*read_item)(ByteReader&) = &read<T>) {
  const std::size_t count = r.length();
  std::vector<T> items;
  // Every item takes at least one byte: a count beyond the bytes left cannot
  // be honest, and must not make us reserve memory for it.
  items.reserve(std::min(count, r.remaining()));
  for (std::size_t i = 0; i < count; ++i) items.push_back(read_item(r));
  return items;
}

template <class T>
CoreBuffer lower(const T& value) {
  ByteWriter w;
  write(w, value);
  return w.release();
}

template <class T>
struct IsList : std::false_type {};
template <class T>
struct IsList<std::vector<T>> : std::true_type {};

template <class T>
T lift(std::span<const std::uint8_t> bytes) {
  ByteReader r(bytes);
  T value = [&r] {
    if constexpr (IsList<T>::value) {
      return read_list<typename T::value_type>(r);
    } else {
      return read<T>(r);
    }
  }();
  r.expect_end();
  return value;
}

}  // namespace quelmaris::ffi
