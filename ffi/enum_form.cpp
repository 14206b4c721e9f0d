#include <cstdint>
#include <type_traits>
#include <variant>

#include "value_form.hpp"

namespace quelmaris::ffi {

namespace {

template <class E>
requires std::is_enum_v<E>
void write_tag(ByteWriter& w, E v) { w.i32(static_cast<std::int32_t>(v) + 1); }

template <class... Cases>
void write_tag(ByteWriter& w, const std::variant<Cases...>& v) {
  w.i32(static_cast<std::int32_t>(v.index()) + 1);
}

}  // namespace

void write(ByteWriter& w, MatchMode v) { write_tag(w, v); }
void write(ByteWriter& w, KeepRule v) { write_tag(w, v); }
void write(ByteWriter& w, Phase v) { write_tag(w, v); }
void write(ByteWriter& w, PlanSkipReason v) { write_tag(w, v); }
void write(ByteWriter& w, Identity v) { write_tag(w, v); }

void write(ByteWriter& w, const SkipReason& v) {
  write_tag(w, v.value);
  if (const auto* io = std::get_if<SkipReason::Io>(&v.value)) w.i32(io->errno_value);
}

void write(ByteWriter& w, const RootSkipReason& v) {
  write_tag(w, v.value);
  if (const auto* nested = std::get_if<RootSkipReason::NestedIn>(&v.value)) w.text(nested->root);
  if (const auto* duplicate = std::get_if<RootSkipReason::Duplicate>(&v.value)) w.text(duplicate->root);
  if (const auto* unreadable = std::get_if<RootSkipReason::Unreadable>(&v.value)) w.i32(unreadable->errno_value);
}

void write(ByteWriter& w, const InvariantViolation& v) {
  write_tag(w, v.value);
  std::visit(
      [&w](const auto& c) {
        w.u64(c.set_id);
        if constexpr (requires { c.index; }) w.u32(c.index);
      },
      v.value);
}

template <>
MatchMode read<MatchMode>(ByteReader& r) {
  return static_cast<MatchMode>(r.tag(2, "MatchMode"));
}

template <>
KeepRule read<KeepRule>(ByteReader& r) {
  return static_cast<KeepRule>(r.tag(4, "KeepRule"));
}

template <>
Phase read<Phase>(ByteReader& r) {
  return static_cast<Phase>(r.tag(4, "Phase"));
}

template <>
SkipReason read<SkipReason>(ByteReader& r) {
  switch (r.tag(5, "SkipReason")) {
    case 0:
      return {SkipReason::Dataless{}};
    case 1:
      return {SkipReason::Permission{}};
    case 2:
      return {SkipReason::Io{r.i32()}};
    case 3:
      return {SkipReason::InvalidName{}};
    default:
      return {SkipReason::Changed{}};
  }
}

template <>
RootSkipReason read<RootSkipReason>(ByteReader& r) {
  switch (r.tag(5, "RootSkipReason")) {
    case 0:
      return {RootSkipReason::NestedIn{r.text()}};
    case 1:
      return {RootSkipReason::Duplicate{r.text()}};
    case 2:
      return {RootSkipReason::Missing{}};
    case 3:
      return {RootSkipReason::NotADirectory{}};
    default:
      return {RootSkipReason::Unreadable{r.i32()}};
  }
}

}  // namespace quelmaris::ffi
