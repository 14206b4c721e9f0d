#include "record_hash.hpp"
#include "records.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <unordered_set>

namespace quelmaris {
namespace {

FileEntry sample_entry() {
  return FileEntry{.path = "/r/a.txt",
                   .name = "a.txt",
                   .root_index = 1,
                   .size = 10,
                   .created_ns = 5,
                   .modified_ns = 6,
                   .dev = 7,
                   .ino = 8,
                   .nlink = 1,
                   .clone_id = 9,
                   .may_share_blocks = false,
                   .freed_bytes = 10};
}

DuplicateSet sample_set() {
  return DuplicateSet{.id = 42,
                      .display_name = "a.txt",
                      .size = 10,
                      .files = {sample_entry(), sample_entry()},
                      .suggested_keep = 0,
                      .lookalikes = {},
                      .verified = true,
                      .content_hash = std::string(64, 'a'),
                      .reclaimable = 10,
                      .reclaimable_estimated = false};
}

TEST(Records, every_file_entry_field_takes_part_in_equality_and_hashing) {
  const FileEntry base = sample_entry();
  const struct {
    const char* name;
    std::function<void(FileEntry&)> change;
  } cases[] = {
      {"path", [](FileEntry& e) { e.path = "/r/b.txt"; }},
      {"name", [](FileEntry& e) { e.name = "b.txt"; }},
      {"root_index", [](FileEntry& e) { e.root_index = 2; }},
      {"size", [](FileEntry& e) { e.size = 11; }},
      {"created_ns absent", [](FileEntry& e) { e.created_ns.reset(); }},
      {"modified_ns", [](FileEntry& e) { e.modified_ns = -6; }},
      {"dev", [](FileEntry& e) { e.dev = 70; }},
      {"ino", [](FileEntry& e) { e.ino = 80; }},
      {"nlink", [](FileEntry& e) { e.nlink = 2; }},
      {"clone_id absent", [](FileEntry& e) { e.clone_id.reset(); }},
      {"may_share_blocks", [](FileEntry& e) { e.may_share_blocks = true; }},
      {"freed_bytes absent", [](FileEntry& e) { e.freed_bytes.reset(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileEntry changed = base;
    c.change(changed);
    EXPECT_NE(changed, base);
    EXPECT_NE(hash_value(changed), hash_value(base));
  }
  const FileEntry copy = base;
  EXPECT_EQ(copy, base);
  EXPECT_EQ(hash_value(copy), hash_value(base));
}

TEST(Records, an_absent_optional_differs_from_zero_in_equality_and_hash) {
  const struct {
    const char* name;
    std::function<void(FileEntry&, std::optional<std::int64_t>)> set;
  } cases[] = {
      {"created_ns", [](FileEntry& e, std::optional<std::int64_t> v) { e.created_ns = v; }},
      {"clone_id",
       [](FileEntry& e, std::optional<std::int64_t> v) {
         e.clone_id = v ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*v)) : std::nullopt;
       }},
      {"freed_bytes",
       [](FileEntry& e, std::optional<std::int64_t> v) {
         e.freed_bytes = v ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*v)) : std::nullopt;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileEntry absent = sample_entry();
    FileEntry zero = sample_entry();
    c.set(absent, std::nullopt);
    c.set(zero, 0);
    EXPECT_NE(absent, zero);
    EXPECT_NE(hash_value(absent), hash_value(zero));
  }
  DuplicateSet without_hash = sample_set();
  DuplicateSet empty_hash = sample_set();
  without_hash.content_hash.reset();
  empty_hash.content_hash = "";
  EXPECT_NE(without_hash, empty_hash);
  EXPECT_NE(hash_value(without_hash), hash_value(empty_hash));
}

TEST(Records, io_errors_with_different_numbers_are_different_reasons) {
  const SkipReason io5{SkipReason::Io{5}};
  const SkipReason io13{SkipReason::Io{13}};
  const SkipReason permission{SkipReason::Permission{}};
  EXPECT_NE(io5, io13);
  EXPECT_NE(io5, permission);
  EXPECT_NE(io13, permission);
  EXPECT_NE(hash_value(io5), hash_value(io13));
  EXPECT_NE(hash_value(io13), hash_value(permission));
  EXPECT_EQ(io5, SkipReason{SkipReason::Io{5}});
  EXPECT_EQ(hash_value(io5), hash_value(SkipReason{SkipReason::Io{5}}));
}

TEST(Records, cases_with_equal_payloads_are_still_different_cases) {
  const RootSkipReason nested{RootSkipReason::NestedIn{"/a"}};
  const RootSkipReason duplicate{RootSkipReason::Duplicate{"/a"}};
  EXPECT_NE(nested, duplicate);
  EXPECT_NE(hash_value(nested), hash_value(duplicate));
  const InvariantViolation keeper_marked{InvariantViolation::KeeperMarked{7}};
  const InvariantViolation too_small{InvariantViolation::TooSmall{7}};
  EXPECT_NE(keeper_marked, too_small);
  EXPECT_NE(hash_value(keeper_marked), hash_value(too_small));
}

TEST(Records, sets_with_the_same_id_and_another_suggested_copy_are_unequal) {
  const DuplicateSet first = sample_set();
  DuplicateSet other = first;
  other.suggested_keep = 1;
  EXPECT_EQ(other.id, first.id);
  EXPECT_NE(other, first);
  EXPECT_NE(hash_value(other), hash_value(first));
}

TEST(Records, list_boundaries_take_part_in_hashing) {
  ScanConfig one{.roots = {"ab"},
                 .mode = MatchMode::NameAndSize,
                 .ignore_case = false,
                 .verify_content = true,
                 .min_size = 1,
                 .include_hidden = true,
                 .excluded_names = {},
                 .package_extensions = {},
                 .io_parallelism = 0,
                 .keep_rule = KeepRule::FolderPriority};
  ScanConfig two = one;
  two.roots = {"a", "b"};
  EXPECT_NE(one, two);
  EXPECT_NE(hash_value(one), hash_value(two));
  // The same text moved from one list to the next is another value.
  ScanConfig moved = one;
  moved.roots = {};
  moved.excluded_names = {"ab"};
  EXPECT_NE(one, moved);
  EXPECT_NE(hash_value(one), hash_value(moved));
}

TEST(Records, records_work_as_keys_of_unordered_sets) {
  std::unordered_set<FileEntry> entries;
  FileEntry other = sample_entry();
  other.freed_bytes.reset();
  entries.insert(sample_entry());
  entries.insert(sample_entry());
  entries.insert(other);
  EXPECT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries.contains(other));

  std::unordered_set<ScanEvent> events;
  events.insert(ScanEvent{ScanEvent::SetReady{sample_set()}});
  events.insert(ScanEvent{ScanEvent::SetReady{sample_set()}});
  events.insert(ScanEvent{ScanEvent::Skipped{{SkippedItem{"/x", SkipReason{SkipReason::Io{0}}}}}});
  EXPECT_EQ(events.size(), 2u);
  EXPECT_TRUE(events.contains(ScanEvent{ScanEvent::SetReady{sample_set()}}));
}

}  // namespace
}  // namespace quelmaris
