#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ffi_test_support.hpp"

namespace quelmaris::ffi {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr auto bytes_of = [](const auto& value) { return testing::lowered_bytes(value); };

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

// The value's lowest `width` bytes, most significant first.
Bytes big_endian(std::uint64_t v, int width) {
  Bytes out;
  for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
  return out;
}
Bytes be32(std::int32_t v) { return big_endian(static_cast<std::uint32_t>(v), 4); }
Bytes be64(std::uint64_t v) { return big_endian(v, 8); }

Bytes byte(std::uint8_t b) { return {b}; }

Bytes text(const std::string& s) {
  return concat({be32(static_cast<std::int32_t>(s.size())), Bytes(s.begin(), s.end())});
}

template <class T>
std::string lift_failure(const Bytes& bytes) {
  try {
    (void)lift<T>(bytes);
  } catch (const ReadError& e) {
    return e.what();
  }
  return "(no failure)";
}

FileEntry sample_entry(std::string path) {
  return FileEntry{path, "b", 1, 1024, std::nullopt, -5, 42, 7, 2, std::uint64_t{9}, true, std::uint64_t{0}};
}

ScanConfig sample_config() {
  return ScanConfig{{"/r1", "/r2"}, MatchMode::ContentOnly, true,    false, 1024,
                    true,           {"._*", "Icon\r"},      {"app"}, 3,     KeepRule::ShortestPath};
}

TEST(ByteForm, the_worked_example_empty_values_optionals_and_integers_take_their_exact_bytes) {
  const SkippedItem item{"/a/b", SkipReason{SkipReason::Io{5}}};
  const Bytes item_bytes{0, 0, 0, 4, 0x2F, 0x61, 0x2F, 0x62, 0, 0, 0, 3, 0, 0, 0, 5};
  EXPECT_EQ(bytes_of(item), item_bytes);
  const ScanEvent event{ScanEvent::Skipped{{item}}};
  EXPECT_EQ(bytes_of(event), concat({{0, 0, 0, 4, 0, 0, 0, 1}, item_bytes}));
  EXPECT_EQ(lift<ScanEvent>(bytes_of(event)), event);

  EXPECT_EQ(bytes_of(std::string()), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(bytes_of(std::vector<FileEntry>()), (Bytes{0, 0, 0, 0}));
  const CoreBuffer lowered = lower(std::vector<FileEntry>());  // owns exactly the written bytes
  EXPECT_TRUE(lowered.data != nullptr && lowered.len == 4u && lowered.len <= lowered.capacity);
  std::free(lowered.data);
  ByteWriter w;
  write_optional(w, std::optional<std::uint64_t>(), [&w](std::uint64_t v) { w.u64(v); });
  write_optional(w, std::optional<std::uint64_t>(7), [&w](std::uint64_t v) { w.u64(v); });
  w.u64(1024);
  EXPECT_EQ(Bytes(w.bytes().begin(), w.bytes().end()), (Bytes{0, 1, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 4, 0}));
  // A text's length counts its UTF-8 bytes, not its letters.
  EXPECT_EQ(bytes_of(std::string("x\xC3\xA9")), (Bytes{0, 0, 0, 3, 'x', 0xC3, 0xA9}));
}

TEST(ByteForm, file_entry_and_scan_config_fields_follow_declaration_order) {
  const Bytes expected =
      concat({text("/a/b"), text("b"), be32(1), be64(1024), byte(0), be64(static_cast<std::uint64_t>(-5)), be64(42),
              be64(7), be32(2), byte(1), be64(9), byte(1), byte(1), be64(0)});
  EXPECT_EQ(bytes_of(sample_entry("/a/b")), expected);
  EXPECT_EQ(lift<FileEntry>(expected), sample_entry("/a/b"));

  const Bytes config = concat({be32(2), text("/r1"), text("/r2"), be32(2), byte(1), byte(0), be64(1024), byte(1),
                               be32(2), text("._*"), text("Icon\r"), be32(1), text("app"), be32(3), be32(4)});
  EXPECT_EQ(bytes_of(sample_config()), config);
  EXPECT_EQ(lift<ScanConfig>(config), sample_config());
}

TEST(ByteForm, enum_tags_count_from_one_in_declaration_order) {
  EXPECT_EQ(bytes_of(KeepRule::FolderPriority), be32(1));
  EXPECT_EQ(bytes_of(KeepRule::ShortestPath), be32(4));
  EXPECT_EQ(bytes_of(SkipReason{SkipReason::Dataless{}}), be32(1));
  EXPECT_EQ(bytes_of(SkipReason{SkipReason::Changed{}}), be32(5));
  EXPECT_EQ(bytes_of(RootSkipReason{RootSkipReason::Missing{}}), be32(3));
  EXPECT_EQ(bytes_of(RootSkipReason{RootSkipReason::Unreadable{13}}), concat({be32(5), be32(13)}));
  EXPECT_EQ(bytes_of(RootSkipReason{RootSkipReason::Duplicate{"/x"}}), concat({be32(2), text("/x")}));
  EXPECT_EQ(bytes_of(PlanSkipReason::Missing), be32(1));
  EXPECT_EQ(bytes_of(Identity::Missing), be32(2));
  EXPECT_EQ(bytes_of(InvariantViolation{InvariantViolation::IndexOutOfRange{7, 3}}),
            concat({be32(3), be64(7), be32(3)}));
  EXPECT_EQ(bytes_of(InvariantViolation{InvariantViolation::TooSmall{7}}), concat({be32(5), be64(7)}));
  EXPECT_EQ(bytes_of(ScanEvent{ScanEvent::Failed{"no"}}), concat({be32(8), text("no")}));
}

TEST(ByteForm, every_event_case_and_plan_sets_read_back_as_written) {
  const FileEntry a = sample_entry("/a/x"), b = sample_entry("/b/x");
  const DuplicateSet set{11, "x", 1024, {a, b}, 1, {a}, true, std::string(64, 'f'), 1024, true};
  const std::vector<ScanEvent> events = {
      {ScanEvent::Phase{Phase::Verifying}},
      {ScanEvent::Progress{1, 2, 3}},
      {ScanEvent::RootSkipped{"/r", RootSkipReason{RootSkipReason::NestedIn{"/"}}}},
      {ScanEvent::RootSkipped{"/r", RootSkipReason{RootSkipReason::Unreadable{-1}}}},
      {ScanEvent::Skipped{{{"/p", SkipReason{SkipReason::Permission{}}}, {"/q", SkipReason{SkipReason::Io{0}}}}}},
      {ScanEvent::SetReady{set}},
      {ScanEvent::LookalikeReady{LookalikeGroup{12, "x", 1024, {a, b}}}},
      {ScanEvent::Finished{ScanSummary{true, 1, 2, 3, 4, 5, 6, true, 7, 8, 9, 10}}},
      {ScanEvent::Failed{"no folder could be scanned"}},
  };
  for (const ScanEvent& event : events) EXPECT_EQ(lift<ScanEvent>(bytes_of(event)), event) << event.value.index();
  const std::vector<PlanSet> sets = {{1, {sample_entry("/a"), sample_entry("/b")}, 0, {1}, true},
                                     {2, {}, 5, {}, false}};
  EXPECT_EQ(lift<std::vector<PlanSet>>(bytes_of(sets)), sets);
}

TEST(ByteForm, malformed_bytes_are_rejected_with_the_reason) {
  Bytes bad_bool = bytes_of(sample_config());
  bad_bool[4 + 7 + 7 + 4] = 2;  // ignore_case
  Bytes junk = bytes_of(sample_config());
  junk.push_back(0);
  Bytes bad_optional = bytes_of(sample_entry("/a/b"));
  bad_optional[8 + 5 + 4 + 8] = 2;  // created_ns tag
  EXPECT_EQ(lift_failure<ScanConfig>(bad_bool), "unexpected byte for Boolean");
  EXPECT_EQ(lift_failure<ScanConfig>(junk), "junk data left in buffer after lifting (count: 1)");
  EXPECT_EQ(lift_failure<KeepRule>({0, 0, 0}), "not enough bytes remaining in buffer (3 < 4)");
  EXPECT_EQ(lift_failure<KeepRule>(be32(0)), "Invalid KeepRule enum value: 0");
  EXPECT_EQ(lift_failure<KeepRule>(be32(-1)), "Invalid KeepRule enum value: -1");
  EXPECT_EQ(lift_failure<KeepRule>(be32(5)), "Invalid KeepRule enum value: 5");
  EXPECT_EQ(lift_failure<MatchMode>(be32(3)), "Invalid MatchMode enum value: 3");
  EXPECT_EQ(lift_failure<ScanEvent>(be32(9)), "Invalid ScanEvent enum value: 9");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(1), be32(0)})), "Invalid Phase enum value: 0");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(3), text("/r"), be32(6)})), "Invalid RootSkipReason enum value: 6");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(4), be32(1), text("/p"), be32(0)})),
            "Invalid SkipReason enum value: 0");
  EXPECT_EQ(lift_failure<FileEntry>(bad_optional), "unexpected tag byte for Option");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(8), be32(5), {'a', 'b'}})),
            "not enough bytes remaining in buffer (2 < 5)");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(8), be32(-1)})), "negative length or count: -1");
  EXPECT_EQ(lift_failure<std::vector<FileEntry>>(be32(-2)), "negative length or count: -2");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(8), be32(1), {0xFF}})), "text is not valid UTF-8");
  EXPECT_EQ(lift_failure<ScanEvent>(concat({be32(8), be32(2), {0xC0, 0xAF}})), "text is not valid UTF-8");
  EXPECT_EQ(lift_failure<std::vector<PlanSet>>({}), "not enough bytes remaining in buffer (0 < 4)");
  // 2^31 - 1 file entries would ask for hundreds of gigabytes if the count were trusted before reading.
  EXPECT_EQ(lift_failure<std::vector<FileEntry>>(concat({be32(0x7FFFFFFF), text("/a")})),
            "not enough bytes remaining in buffer (0 < 4)");
}

}  // namespace
}  // namespace quelmaris::ffi
