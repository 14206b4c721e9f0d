#include "records.hpp"

#include <gtest/gtest.h>

#include <unordered_set>

#include "record_hash.hpp"

namespace quelmaris {
namespace {

FileEntry sample_entry() { return FileEntry{"/r/a.txt", "a.txt", 1, 10, 5, 6, 7, 8, 1, 9, false, 10}; }

DuplicateSet sample_set() {
  return DuplicateSet{42, "a.txt", 10, {sample_entry(), sample_entry()}, 0, {}, true, std::string(64, 'a'), 10, false};
}

template <class T>
void expect_unequal(const T& a, const T& b) {
  EXPECT_NE(a, b);
  EXPECT_NE(hash_value(a), hash_value(b));
}

TEST(Records, every_file_entry_field_takes_part_in_equality_and_hashing) {
  const FileEntry base = sample_entry();
  // clang-format off
  const std::pair<const char*, void (*)(FileEntry&)> cases[] = {
      {"path", [](FileEntry& e) { e.path = "/r/b.txt"; }}, {"name", [](FileEntry& e) { e.name = "b.txt"; }},
      {"root_index", [](FileEntry& e) { e.root_index = 2; }}, {"size", [](FileEntry& e) { e.size = 11; }},
      {"created_ns absent", [](FileEntry& e) { e.created_ns.reset(); }},
      {"created_ns zero", [](FileEntry& e) { e.created_ns = 0; }},
      {"modified_ns", [](FileEntry& e) { e.modified_ns = -6; }}, {"dev", [](FileEntry& e) { e.dev = 70; }},
      {"ino", [](FileEntry& e) { e.ino = 80; }}, {"nlink", [](FileEntry& e) { e.nlink = 2; }},
      {"clone_id absent", [](FileEntry& e) { e.clone_id.reset(); }},
      {"clone_id zero", [](FileEntry& e) { e.clone_id = 0; }},
      {"may_share_blocks", [](FileEntry& e) { e.may_share_blocks = true; }},
      {"freed_bytes absent", [](FileEntry& e) { e.freed_bytes.reset(); }},
      {"freed_bytes zero", [](FileEntry& e) { e.freed_bytes = 0; }},
  };
  // clang-format on
  std::unordered_set<FileEntry> all{base, base};
  for (const auto& [name, change] : cases) {
    SCOPED_TRACE(name);
    FileEntry changed = base;
    change(changed);
    expect_unequal(changed, base);
    all.insert(changed);
  }
  // Every change, absent and zero alike, made an entry of its own.
  EXPECT_EQ(all.size(), std::size(cases) + 1);
  EXPECT_EQ(hash_value(FileEntry(base)), hash_value(base));
}

TEST(Records, payloads_cases_and_list_boundaries_take_part) {
  SCOPED_TRACE("reasons");
  expect_unequal(SkipReason{SkipReason::Io{5}}, SkipReason{SkipReason::Io{13}});
  expect_unequal(SkipReason{SkipReason::Io{13}}, SkipReason{SkipReason::Permission{}});
  expect_unequal(RootSkipReason{RootSkipReason::NestedIn{"/a"}}, RootSkipReason{RootSkipReason::Duplicate{"/a"}});
  expect_unequal(InvariantViolation{InvariantViolation::KeeperMarked{7}},
                 InvariantViolation{InvariantViolation::TooSmall{7}});

  DuplicateSet other_keeper = sample_set(), no_hash = sample_set(), empty_hash = sample_set();
  other_keeper.suggested_keep = 1;
  no_hash.content_hash.reset();
  empty_hash.content_hash = "";
  expect_unequal(other_keeper, sample_set());
  expect_unequal(no_hash, empty_hash);

  const ScanConfig one{{"ab"}, MatchMode::NameAndSize, false, true, 1, true, {}, {}, 0, KeepRule::FolderPriority};
  ScanConfig split = one, moved = one;
  split.roots = {"a", "b"};
  moved.roots = {};
  moved.excluded_names = {"ab"};  // the same text in the next list is another value
  expect_unequal(one, split);
  expect_unequal(one, moved);

  std::unordered_set<ScanEvent> events{ScanEvent{ScanEvent::SetReady{sample_set()}},
                                       ScanEvent{ScanEvent::SetReady{sample_set()}},
                                       ScanEvent{ScanEvent::SetReady{other_keeper}}};
  EXPECT_EQ(events.size(), 2u);
}

}  // namespace
}  // namespace quelmaris
