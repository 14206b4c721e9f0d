#include "defaults.hpp"
#include "recording_listener.hpp"
#include "reflink_volume.hpp"
#include "sample_seam.hpp"
#include "scan_job.hpp"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <unistd.h>

namespace quelmaris {
namespace {

using testing::all_of;
using testing::RecordingListener;
using testing::TempTree;

const testing::TemporaryDataHome data_home;

ScanConfig config_for(std::vector<std::string> roots) {
  ScanConfig config = default_scan_config();
  config.roots = std::move(roots);
  config.min_size = 1;
  return config;
}

std::vector<Phase> phases(const std::vector<ScanEvent>& events) {
  std::vector<Phase> out;
  for (const auto* p : all_of<ScanEvent::Phase>(events)) out.push_back(p->phase);
  return out;
}

const ScanSummary& summary_of(const std::vector<ScanEvent>& events) {
  return std::get<ScanEvent::Finished>(events.back().value).summary;
}

std::vector<ScanEvent> scan(const ScanConfig& config, RecordingListener& listener, ScanJob& job) {
  job.run(config, listener);
  return listener.events();
}

std::vector<ScanEvent> scan(const ScanConfig& config) {
  RecordingListener listener;
  ScanJob job;
  return scan(config, listener, job);
}

std::string big(char fill, std::size_t size = 300'000) { return std::string(size, fill); }

// A name the walk cannot read is reported and the rest is scanned.
TEST(ScanJob, a_verifying_scan_sends_its_events_in_order_reports_what_it_could_not_read_and_sums_them_up) {
  TempTree tree;
  // clang-format off
  tree.write({{"a/report.txt", "same content"}, {"b/report.txt", "same content"}, {"c/report.txt", "same content"},
              {"a/notes.txt", "one text...."}, {"b/notes.txt", "other text.."}, {"a/alone.txt", "x"}, {"c/\xFF", "x"}});
  // clang-format on

  const auto events = scan(config_for({tree.path("a"), tree.path("b"), tree.path("c")}));
  EXPECT_EQ(phases(events), (std::vector<Phase>{Phase::Listing, Phase::Grouping, Phase::Verifying, Phase::Done}));
  EXPECT_TRUE(std::holds_alternative<ScanEvent::Progress>(events[events.size() - 2].value)) << "then Finished";

  const auto sets = all_of<ScanEvent::SetReady>(events);
  ASSERT_EQ(sets.size(), 1u);
  const DuplicateSet& set = sets[0]->set;
  EXPECT_TRUE(set.verified);
  ASSERT_EQ(set.files.size(), 3u);
  EXPECT_EQ(set.files[0].root_index, 0u);
  EXPECT_EQ(set.suggested_keep, 0u);
  EXPECT_EQ(set.content_hash->size(), 64u);
  // Each extra copy frees its own blocks: whole blocks where the file system
  // reports its extents, the file size where it cannot.
  EXPECT_EQ(set.reclaimable, *set.files[1].freed_bytes + *set.files[2].freed_bytes);
  EXPECT_GE(set.reclaimable, 2 * std::string("same content").size());
  ASSERT_EQ(all_of<ScanEvent::LookalikeReady>(events).size(), 1u);

  const auto& summary = summary_of(events);
  EXPECT_GE(summary.io_parallelism, 1u);
  EXPECT_EQ(summary, (ScanSummary{false, 6, 6, 1, 1, 2, set.reclaimable, false, 1, 0, summary.elapsed_ms,
                                  summary.io_parallelism}));
  EXPECT_EQ(testing::skipped_items(events),
            (std::vector<SkippedItem>{{tree.path("c/\xEF\xBF\xBD"), {SkipReason::InvalidName{}}}}));
  // The forced flush before hashing carries the bytes to hash.
  const auto progress = all_of<ScanEvent::Progress>(events);
  EXPECT_EQ(progress.back()->bytes_to_hash, progress.back()->bytes_hashed);
  EXPECT_EQ(progress.back()->bytes_to_hash, 3 * 12u + 2 * 12u);
}

TEST(ScanJob, without_verification_only_content_matching_verifies_and_no_lookalikes_are_sent) {
  for (const MatchMode mode : {MatchMode::NameAndSize, MatchMode::ContentOnly}) {
    SCOPED_TRACE(static_cast<int>(mode));
    const bool verifies = mode == MatchMode::ContentOnly;
    TempTree tree;
    // By name the pair differs in content; by content it differs in name.
    tree.write(
        {{"a/x.bin", "same"}, {verifies ? "b/y.bin" : "b/x.bin", verifies ? "same" : "diff"}, {"b/other.bin", "diff"}});
    ScanConfig config = config_for({tree.path("a"), tree.path("b")});
    config.verify_content = false;
    config.mode = mode;
    const auto events = scan(config);
    EXPECT_EQ(phases(events).size(), verifies ? 4u : 3u);
    const auto sets = all_of<ScanEvent::SetReady>(events);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]->set.verified, verifies);
    EXPECT_EQ(sets[0]->set.content_hash.has_value(), verifies);
    EXPECT_TRUE(sets[0]->set.lookalikes.empty());
    EXPECT_TRUE(all_of<ScanEvent::LookalikeReady>(events).empty());
  }
}

TEST(ScanJob, no_usable_root_fails_after_reporting_every_dropped_root) {
  TempTree tree;
  const auto file = tree.write("plain.txt", "x");
  const ScanEvent listing{ScanEvent::Phase{Phase::Listing}}, failed{ScanEvent::Failed{"no folder could be scanned"}};
  EXPECT_EQ(scan(config_for({tree.path("missing"), file})),
            (std::vector<ScanEvent>{listing,
                                    {ScanEvent::RootSkipped{tree.path("missing"), {RootSkipReason::Missing{}}}},
                                    {ScanEvent::RootSkipped{file, {RootSkipReason::NotADirectory{}}}},
                                    failed}));
  EXPECT_EQ(scan(config_for({})), (std::vector<ScanEvent>{listing, failed}));
}

// The inner root is walked through the outer one and its files keep its index.
TEST(ScanJob, a_nested_root_is_reported_and_hidden_excluded_and_package_entries_are_left_out) {
  TempTree tree;
  for (const std::string d : {"outer/inner", "outer"})
    for (const char* name : {"/.hidden.txt", "/.DS_Store", "/Tool.APP/inside.txt", "/seen.txt"})
      tree.write(d + name, name);
  ScanConfig config = config_for({tree.path("outer/inner"), tree.path("outer")});
  config.include_hidden = false;
  config.package_extensions = {".App"};
  const auto events = scan(config);
  const auto skips = all_of<ScanEvent::RootSkipped>(events);
  ASSERT_EQ(skips.size(), 1u);
  EXPECT_EQ(skips[0]->reason,
            (RootSkipReason{RootSkipReason::NestedIn{std::filesystem::canonical(tree.path("outer"))}}));
  const auto sets = all_of<ScanEvent::SetReady>(events);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0]->set.display_name, "seen.txt");
  EXPECT_EQ(sets[0]->set.files[0].path, tree.path("outer/inner/seen.txt"));
  EXPECT_EQ(sets[0]->set.files[0].root_index, 0u);
  EXPECT_EQ(sets[0]->set.files[1].root_index, 1u);
  EXPECT_EQ(summary_of(events).files_seen, 2u);
}

// The scan finds the home Trash through XDG_DATA_HOME: a file trashed long ago
// must not become the kept copy of its later twin, which emptying the Trash
// would then destroy.
TEST(ScanJob, the_home_trash_is_left_out_unreported_unless_it_is_listed) {
  TempTree tree;
  tree.write("a/report.txt", "same content");
  const std::string files = (data_home.trash() / "files").string();
  for (const char* folder : {"files", "info"}) std::filesystem::create_directories(data_home.trash() / folder);
  std::ofstream(files + "/report.txt") << "same content";
  std::ofstream(data_home.trash() / "info/report.txt.trashinfo") << "[Trash Info]\n";
  for (const auto& [roots, sets] : {std::pair{std::vector{tree.path("a"), data_home.folder().string()}, 0u},
                                    std::pair{std::vector{tree.path("a"), files}, 1u}}) {
    SCOPED_TRACE(roots[1]);
    const auto events = scan(config_for(roots));
    EXPECT_EQ(all_of<ScanEvent::SetReady>(events).size(), sets);
    EXPECT_EQ(summary_of(events).files_seen, 1 + sets);
    EXPECT_EQ(summary_of(events).skipped, 0u);
  }
}

TEST(ScanJob, hard_links_collapse_and_a_linked_copy_frees_nothing) {
  TempTree tree;
  const auto original = tree.write("a/data.bin", "linked content");
  tree.mkdir("b");
  ASSERT_EQ(::link(original.c_str(), tree.path("b/data.bin").c_str()), 0);
  tree.write("c/data.bin", "linked content");

  const auto events = scan(config_for({tree.path("a"), tree.path("b"), tree.path("c")}));
  EXPECT_EQ(summary_of(events).hard_links_collapsed, 1u);
  const auto sets = all_of<ScanEvent::SetReady>(events);
  ASSERT_EQ(sets.size(), 1u);
  const auto& files = sets[0]->set.files;
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].path, original);
  EXPECT_EQ(files[0].nlink, 2u);
  EXPECT_EQ(files[0].freed_bytes, std::optional<std::uint64_t>(0));
}

// A tree with hard links inside it, copied with its links kept: by name the
// copies group as "x.txt" and "y.txt" over the same two inodes, and the two
// results must still be told apart.
TEST(ScanJob, results_over_the_same_inodes_under_other_names_have_their_own_ids_whatever_the_root_order) {
  TempTree tree;
  tree.write({{"T/x.txt", "same"}, {"T2/x.txt", "same"}, {"T/p.txt", "one"}, {"T2/p.txt", "two"}});
  for (const auto& [from, to] :
       {std::pair{"T/x.txt", "T/y.txt"}, {"T2/x.txt", "T2/y.txt"}, {"T/p.txt", "T/q.txt"}, {"T2/p.txt", "T2/q.txt"}})
    ASSERT_EQ(::link(tree.path(from).c_str(), tree.path(to).c_str()), 0);
  std::map<std::string, std::uint64_t> first_ids;
  for (const auto& roots :
       {std::vector{tree.path("T"), tree.path("T2")}, std::vector{tree.path("T2"), tree.path("T")}}) {
    SCOPED_TRACE(roots[0]);
    const auto events = scan(config_for(roots));
    std::map<std::string, std::uint64_t> ids;
    for (const auto* ready : all_of<ScanEvent::SetReady>(events))
      ids.emplace("set " + ready->set.display_name, ready->set.id);
    for (const auto* ready : all_of<ScanEvent::LookalikeReady>(events))
      ids.emplace("lookalikes " + ready->group.display_name, ready->group.id);
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_NE(ids.at("set x.txt"), ids.at("set y.txt"));
    EXPECT_NE(ids.at("lookalikes p.txt"), ids.at("lookalikes q.txt"));
    if (first_ids.empty()) first_ids = ids;
    EXPECT_EQ(ids, first_ids);
  }
}

TEST(ScanJob, a_clone_of_the_kept_copy_frees_only_its_own_blocks_and_unrelated_sharing_makes_an_estimate) {
  TempTree tree;
  const testing::ReflinkVolume volume(tree);
  if (!volume.skip_reason().empty()) GTEST_SKIP() << volume.skip_reason();
  const std::string v = volume.path();
  for (const char* folder : {"/a", "/b", "/c", "/d"}) std::filesystem::create_directories(v + folder);
  // Set one: a/one.bin is kept, b/one.bin is its clone.
  { std::ofstream(v + "/a/one.bin") << big('1'); }
  ASSERT_TRUE(volume.copy(v + "/a/one.bin", v + "/b/one.bin", true));
  // Set two: kept a/two.bin is a plain copy; b and c share blocks with a third file, not with the keeper.
  { std::ofstream(v + "/d/source.bin") << big('2'); }
  ASSERT_TRUE(volume.copy(v + "/d/source.bin", v + "/a/two.bin", false));
  ASSERT_TRUE(volume.copy(v + "/d/source.bin", v + "/b/two.bin", true));
  ASSERT_TRUE(volume.copy(v + "/d/source.bin", v + "/c/two.bin", true));

  const auto events = scan(config_for({v + "/a", v + "/b", v + "/c"}));
  std::map<std::string, DuplicateSet> sets;
  for (const auto* ready : all_of<ScanEvent::SetReady>(events)) sets.emplace(ready->set.display_name, ready->set);
  ASSERT_EQ(sets.size(), 2u);
  const DuplicateSet& one = sets.at("one.bin");
  EXPECT_EQ(one.files[0].path, v + "/a/one.bin");
  EXPECT_TRUE(one.files[1].may_share_blocks);
  EXPECT_EQ(one.files[1].clone_id, one.files[0].clone_id);
  EXPECT_EQ(one.reclaimable, 0u) << "a full clone owns no block of its own";
  EXPECT_FALSE(one.reclaimable_estimated);
  const DuplicateSet& two = sets.at("two.bin");
  EXPECT_TRUE(two.reclaimable_estimated) << "two copies share blocks, neither with the keeper";
  EXPECT_TRUE(summary_of(events).reclaimable_estimated);
}

// Clone facts are read when a set is built, after the hashing; an unverified
// scan builds its sets straight after the walk.
TEST(ScanJob, copies_on_a_volume_without_extent_maps_free_their_size_unless_they_vanished_before_the_set_was_built) {
  const auto volume = testing::memory_volume();
  if (!volume) GTEST_SKIP() << "no tmpfs at /dev/shm";
  const std::tuple<const char*, bool, std::uint64_t, bool, std::optional<std::uint64_t>> cases[] = {
      {"both copies there", false, 5000, false, 5000},
      {"the extra copy gone", true, 0, true, std::nullopt},
  };
  for (const auto& [what, vanishes, reclaimable, estimated, freed] : cases) {
    SCOPED_TRACE(what);
    const TempTree tree(*volume);
    tree.write({{"a/f.bin", big('t', 5000)}, {"b/f.bin", big('t', 5000)}});
    RecordingListener listener;
    listener.hook = [&, vanishes = vanishes](const ScanEvent& event) {
      if (vanishes && event == ScanEvent{ScanEvent::Phase{Phase::Grouping}})
        std::filesystem::remove(tree.path("b/f.bin"));
    };
    ScanConfig config = config_for({tree.path("a"), tree.path("b")});
    config.verify_content = false;
    ScanJob job;
    const auto events = scan(config, listener, job);
    const auto sets = all_of<ScanEvent::SetReady>(events);
    ASSERT_EQ(sets.size(), 1u);
    const DuplicateSet& set = sets[0]->set;
    EXPECT_EQ(std::tuple(set.reclaimable, set.reclaimable_estimated), std::tuple(reclaimable, estimated));
    const FileEntry& copy = set.files.at(1);
    EXPECT_EQ(std::tuple(copy.freed_bytes, copy.may_share_blocks, copy.clone_id),
              std::tuple(freed, false, std::nullopt));
  }
}

TEST(ScanJob, files_equal_at_both_ends_but_different_in_the_middle_are_lookalikes) {
  TempTree tree;
  std::string first = big('m'), second = big('m');
  second[150'000] = 'X';
  tree.write({{"a/movie.bin", first}, {"b/movie.bin", second}, {"c/movie.bin", first}});
  const auto events = scan(config_for({tree.path("a"), tree.path("b"), tree.path("c")}));
  const auto sets = all_of<ScanEvent::SetReady>(events);
  ASSERT_EQ(sets.size(), 1u);
  ASSERT_EQ(sets[0]->set.files.size(), 2u);
  ASSERT_EQ(sets[0]->set.lookalikes.size(), 1u);
  EXPECT_EQ(sets[0]->set.lookalikes[0].path, tree.path("b/movie.bin"));

  const auto progress = all_of<ScanEvent::Progress>(events);
  EXPECT_EQ(progress.back()->bytes_hashed, 3 * first.size()) << "every member counts its size once";
}

TEST(ScanJob, files_that_change_vanish_or_become_links_after_the_walk_are_skipped_not_hashed) {
  TempTree tree;
  for (const char* dir : {"a", "b", "c", "d", "e"}) tree.write(std::string(dir) + "/f.bin", big('z'));
  const auto decoy = tree.write("elsewhere.bin", big('z'));
  RecordingListener listener;
  listener.hook = [&](const ScanEvent& event) {
    const auto* phase = std::get_if<ScanEvent::Phase>(&event.value);
    if (!phase || phase->phase != Phase::Grouping) return;
    std::filesystem::remove(tree.path("b/f.bin"));
    std::filesystem::resize_file(tree.path("c/f.bin"), 10);
    std::filesystem::remove(tree.path("d/f.bin"));
    std::filesystem::create_symlink(decoy, tree.path("d/f.bin"));
  };
  ScanJob job;
  const auto events =
      scan(config_for({tree.path("a"), tree.path("b"), tree.path("c"), tree.path("d"), tree.path("e")}), listener, job);
  auto skipped = testing::skipped_items(events);
  std::sort(skipped.begin(), skipped.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
  EXPECT_EQ(skipped, (std::vector<SkippedItem>{{tree.path("b/f.bin"), {SkipReason::Io{ENOENT}}},
                                               {tree.path("c/f.bin"), {SkipReason::Changed{}}},
                                               {tree.path("d/f.bin"), {SkipReason::Io{ELOOP}}}}));
  const auto sets = all_of<ScanEvent::SetReady>(events);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0]->set.files.size(), 2u);
  EXPECT_EQ(summary_of(events).skipped, 3u);
}

// The scan's own thread sends Phase events, which makes them a seam between passes;
// the walk flushes Progress after its first level, deep inside the tree here.
TEST(ScanJob, a_cancel_ends_the_scan_without_done_and_counts_what_was_sent) {
  TempTree tree;
  std::string deep = "r";
  for (int i = 0; i < 8; ++i) deep += "/level" + std::to_string(i);
  tree.write({{deep + "/a.txt", "same"}, {deep + "/b/a.txt", "same"}});
  const std::tuple<const char*, bool (*)(const ScanEvent&), std::vector<Phase>, std::uint64_t> cases[] = {
      // clang-format off
      {"during the walk", [](const ScanEvent& e) { return std::holds_alternative<ScanEvent::Progress>(e.value); },
       {Phase::Listing}, 0},
      {"during verification", [](const ScanEvent& e) { return e == ScanEvent{ScanEvent::Phase{Phase::Verifying}}; },
       {Phase::Listing, Phase::Grouping, Phase::Verifying}, 2},
      // clang-format on
  };
  for (const auto& [when, cancels_at, expected_phases, compared] : cases) {
    SCOPED_TRACE(when);
    RecordingListener listener;
    ScanJob job;
    listener.hook = [&, cancels_at = cancels_at](const ScanEvent& event) {
      if (cancels_at(event)) job.cancel();
    };
    const auto events = scan(config_for({tree.path("r")}), listener, job);
    EXPECT_EQ(phases(events), expected_phases);
    const auto& summary = summary_of(events);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.files_compared, compared);
    EXPECT_EQ(summary.sets, all_of<ScanEvent::SetReady>(events).size());
  }
}

// The sample pass sends no event of its own: the seam between a sampled
// file's two chunks is the known point where the cancel comes.
TEST(ScanJob, a_cancel_during_the_sample_pass_drops_the_group_being_sampled) {
  TempTree tree;
  tree.write({{"a/movie.bin", big('m')}, {"b/movie.bin", big('m')}});
  ScanJob job;
  std::atomic<int> sampled{0};
  const testing::SampleSeam seam([&](const WalkedFile&, int) {
    ++sampled;
    job.cancel();
  });
  RecordingListener listener;
  const auto events = scan(config_for({tree.path("a"), tree.path("b")}), listener, job);
  EXPECT_GE(sampled.load(), 1);
  EXPECT_EQ(phases(events), (std::vector<Phase>{Phase::Listing, Phase::Grouping, Phase::Verifying}));
  EXPECT_TRUE(all_of<ScanEvent::SetReady>(events).empty());
  EXPECT_EQ(std::tuple(summary_of(events).cancelled, summary_of(events).sets), std::tuple(true, 0u));
}

}  // namespace
}  // namespace quelmaris
