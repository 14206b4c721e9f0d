#include <gtest/gtest.h>

#include <QSignalSpy>
#include <filesystem>

#include "app_test_support.hpp"
#include "results/ResultPruning.h"
#include "scan/ScanStore.h"
#include "scan_store_driver.hpp"
#include "temp_tree.hpp"

namespace {

using apptest::ScriptedScanner;
using namespace widgettest;
using quelmaris::testing::TempTree;

DuplicateSet duplicateSet(std::uint64_t id, std::uint64_t reclaimable, QList<FileEntry> files = {},
                          std::uint32_t suggestedKeep = 0) {
  if (files.isEmpty())
    files = {fileEntry(QStringLiteral("/r/a/%1").arg(id)), fileEntry(QStringLiteral("/r/b/%1").arg(id))};
  return DuplicateSet{id, "n", 100, std::move(files), suggestedKeep, {}, true, QString(64, u'0'), reclaimable, false};
}

LookalikeGroup lookalike(std::uint64_t id) {
  return LookalikeGroup{
      id, QStringLiteral("l"), 100, {fileEntry(QStringLiteral("/r/l1")), fileEntry(QStringLiteral("/r/l2"))}};
}

ScanEvent ready(DuplicateSet set) { return {ScanEvent::setReady{std::move(set)}}; }
ScanEvent failed(const QString& message) { return {ScanEvent::failed{message}}; }

QList<std::uint64_t> ids(const QList<DuplicateSet>& sets) {
  QList<std::uint64_t> out;
  for (const DuplicateSet& set : sets) out.append(set.id);
  return out;
}

ScanOptions options(MatchCriterion criterion = MatchCriterion::nameAndSize, bool verifyContent = true) {
  return ScanOptions{criterion, verifyContent};
}

// A store over a scripted scanner, scanning two roots.
struct Harness : ScanStoreDriver {
  Harness() { apptest::application(); }

  QList<QUrl> roots{QUrl::fromLocalFile(QStringLiteral("/r/a")), QUrl::fromLocalFile(QStringLiteral("/r/b"))};

  void start(const ScanOptions& given = options()) {
    store.start(roots, given);
    drain();
  }
  ScriptedScanner::Script& session() { return scanner->scripts.back(); }
  void endStream() {
    session().feed.finish();
    drain();
  }
};

enum class From { idle, scanning, finished, failed };

constexpr std::pair<From, const char*> allStates[] = {
    {From::idle, "idle"}, {From::scanning, "scanning"}, {From::finished, "finished"}, {From::failed, "failed"}};

// Leaves the store in the state with something in every list it can fill.
void driveTo(Harness& h, From from) {
  if (from == From::idle) return;
  h.start();
  h.feed({skippedEvent(QStringLiteral("/r/a/x")),
          {ScanEvent::rootSkipped{QStringLiteral("/r/c"), {RootSkipReason::missing{}}}},
          ready(duplicateSet(1, 10)),
          progressEvent(3)});
  if (from == From::scanning) return;
  h.feed({from == From::finished ? finishedEvent() : failed(QStringLiteral("no folder could be scanned"))});
  h.endStream();
}

void expectCleared(const ScanStore& store) {
  EXPECT_EQ(std::tuple(store.sets().size(), store.lookalikes().size(), store.skipped().size(), store.rootSkips().size(),
                       store.expandedRows().size(), store.filesSeen(), store.phase(), store.isStale()),
            std::tuple(0, 0, 0, 0, 0, 0u, Phase::listing, false));
  EXPECT_EQ(store.selection(), SelectionModel());
}

TEST(ScanStoreTransitions, a_start_from_any_state_clears_the_results_before_scanning) {
  for (const auto& [from, name] : allStates) {
    SCOPED_TRACE(name);
    Harness h;
    driveTo(h, from);
    h.store.setIsStale(true);
    const QString oldPath = h.store.sets().isEmpty() ? QString() : h.store.sets().first().files.first().path;
    std::vector<ScanStore::State> seen;
    bool clearedBeforeScanning = false;
    QObject::connect(&h.store, &ScanStore::stateChanged, [&] {
      seen.push_back(h.store.state());
      if (h.store.state().is<ScanStore::State::scanning>())
        clearedBeforeScanning = h.store.sets().isEmpty() && h.store.skipped().isEmpty() && !h.store.isStale();
    });
    const QList<QUrl> newRoots{QUrl::fromLocalFile(QStringLiteral("/s"))};
    h.store.start(newRoots, options());

    std::vector<ScanStore::State> expected{ScanStore::State{ScanStore::State::scanning{}}};
    if (from != From::idle) expected.insert(expected.begin(), ScanStore::State{});
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(clearedBeforeScanning);
    expectCleared(h.store);
    EXPECT_TRUE(oldPath.isNull() || oldPath.isDetached()) << "nothing holds the old results while the new ones build";
    EXPECT_EQ(h.store.roots(), newRoots);
    EXPECT_TRUE(h.store.startedAt().has_value());
    EXPECT_EQ(h.store.session(), nullptr) << "the task opens the session once the event loop runs it";
    ScanStoreDriver::drain();
    ASSERT_NE(h.store.session(), nullptr);
    EXPECT_EQ(h.session().config.roots, QList<QString>{QStringLiteral("/s")});
  }
}

TEST(ScanStoreTransitions, a_finish_or_failure_keeps_phase_counters_and_results_until_the_stream_ends) {
  const QString message = QStringLiteral("no folder could be scanned");
  const std::tuple<const char*, ScanEvent, ScanStore::State> cases[] = {
      {"finished", finishedEvent(), {ScanStore::State::finished{scanSummary()}}},
      {"failed", failed(message), {ScanStore::State::failed{message}}}};
  for (const auto& [what, end, expected] : cases) {
    SCOPED_TRACE(what);
    Harness h;
    driveTo(h, From::scanning);
    h.feed({{ScanEvent::phase{Phase::grouping}}, progressEvent(9, 2, 3), end});
    EXPECT_EQ(h.store.state(), expected);
    EXPECT_EQ(std::tuple(h.store.phase(), h.store.filesSeen(), h.store.bytesHashed(), h.store.bytesToHash()),
              std::tuple(Phase::grouping, 9u, 2u, 3u));
    EXPECT_EQ(ids(h.store.sets()), QList<std::uint64_t>{1});
    EXPECT_NE(h.store.session(), nullptr) << "the session lasts until its stream ends";
    h.endStream();
    EXPECT_EQ(h.store.session(), nullptr);
    EXPECT_EQ(h.store.state(), expected) << "the end of the stream changes no state";
  }
}

TEST(ScanStoreTransitions, a_cancelled_finish_returns_to_idle_without_results) {
  Harness h;
  driveTo(h, From::scanning);
  h.store.cancel();
  EXPECT_EQ(*h.session().cancels, 1);
  EXPECT_TRUE(h.store.state().is<ScanStore::State::scanning>()) << "Stop only asks the core";
  h.feed({ready(duplicateSet(2, 5)), finishedEvent(true)});
  EXPECT_TRUE(h.store.state().is<ScanStore::State::idle>());
  expectCleared(h.store);
  EXPECT_FALSE(h.store.startedAt().has_value());
  EXPECT_EQ(h.store.bytesToHash(), 0u);
  h.endStream();
  EXPECT_EQ(h.store.session(), nullptr);
}

TEST(ScanStoreTransitions, a_folder_list_change_or_a_start_without_roots_returns_to_idle_and_starts_nothing) {
  const std::pair<const char*, void (*)(ScanStore&)> leaves[] = {
      {"cancel and reset",
       [](ScanStore& store) {
         store.cancel();
         store.reset();
       }},
      {"start without roots", [](ScanStore& store) { store.start({}, options(MatchCriterion::nameAndSize, false)); }}};
  for (const auto& [how, leave] : leaves)
    for (const auto& [from, name] : allStates) {
      SCOPED_TRACE(testing::Message() << how << " when " << name);
      Harness h;
      driveTo(h, from);
      leave(h.store);
      EXPECT_TRUE(h.store.state().is<ScanStore::State::idle>());
      expectCleared(h.store);
      EXPECT_EQ(h.store.session(), nullptr);
      EXPECT_EQ(h.store.roots(), from == From::idle ? QList<QUrl>{} : h.roots) << "roots keep their earlier value";
      EXPECT_TRUE(h.store.verified()) << "verified keeps its earlier value";
      ScanStoreDriver::drain();
      EXPECT_EQ(h.scanner->scripts.size(), from == From::idle ? 0u : 1u);
      if (from != From::scanning) continue;
      EXPECT_GE(*h.session().cancels, 1);
      EXPECT_EQ(h.session().feed.yield(ready(duplicateSet(3, 1))), YieldResult::terminated);
      ScanStoreDriver::drain();
      EXPECT_TRUE(h.store.state().is<ScanStore::State::idle>());
      EXPECT_TRUE(h.store.sets().isEmpty());
    }
}

TEST(ScanStoreSessions, a_new_start_while_scanning_keeps_the_old_sessions_late_events_off_the_new_scan) {
  Harness h;
  driveTo(h, From::scanning);
  h.session().feed.yield(ready(duplicateSet(8, 1)));  // queued, not yet delivered
  ScriptedScanner::Script old = h.session();
  h.start();
  ASSERT_EQ(h.scanner->scripts.size(), 2u);
  EXPECT_GE(*old.cancels, 1);

  old.feed.yield(progressEvent(99));
  old.feed.yield(finishedEvent());
  old.feed.finish();
  ScanStoreDriver::drain();
  EXPECT_TRUE(h.store.state().is<ScanStore::State::scanning>());
  EXPECT_EQ(h.store.filesSeen(), 0u);
  EXPECT_NE(h.store.session(), nullptr) << "the old stream's end must not close the new session";

  h.feed({ready(duplicateSet(4, 1)), finishedEvent()});
  EXPECT_EQ(ids(h.store.sets()), QList<std::uint64_t>{4});
}

TEST(ScanStoreSessions, before_the_task_runs_only_the_latest_start_opens_a_session_and_a_reset_opens_none) {
  Harness h;
  h.store.start(h.roots, options());
  h.store.start({QUrl::fromLocalFile(QStringLiteral("/s"))}, options());
  h.store.cancel();  // no session yet: nothing to stop
  EXPECT_TRUE(h.store.state().is<ScanStore::State::scanning>());
  h.drain();
  ASSERT_EQ(h.scanner->scripts.size(), 1u);
  EXPECT_EQ(h.session().config.roots, QList<QString>{QStringLiteral("/s")});

  h.store.start(h.roots, options());
  h.store.reset();
  h.drain();
  EXPECT_EQ(h.scanner->scripts.size(), 1u) << "a reset scan task never opens its session";
  EXPECT_TRUE(h.store.state().is<ScanStore::State::idle>());
}

TEST(ScanStoreEvents, sets_wait_for_the_next_progress_or_the_finish_and_each_list_notifies_once_per_batch) {
  Harness h;
  h.start();
  h.feed({progressEvent(5, 1, 2)});
  QSignalSpy sets(&h.store, &ScanStore::setsChanged);
  QSignalSpy lookalikes(&h.store, &ScanStore::lookalikesChanged);
  QSignalSpy seen(&h.store, &ScanStore::filesSeenChanged);
  QSignalSpy hashed(&h.store, &ScanStore::bytesHashedChanged);
  h.feed({ready(duplicateSet(1, 1)), ready(duplicateSet(2, 2)), {ScanEvent::lookalikeReady{lookalike(9)}}});
  EXPECT_EQ(std::tuple(h.store.sets().size(), sets.count()), std::tuple(0, 0));

  h.feed({progressEvent(5, 1, 2)});
  EXPECT_EQ(ids(h.store.sets()), (QList<std::uint64_t>{1, 2}));
  EXPECT_EQ(h.store.lookalikes().size(), 1);
  EXPECT_EQ(std::tuple(sets.count(), lookalikes.count()), std::tuple(1, 1));
  EXPECT_EQ(seen.count() + hashed.count(), 0) << "equal counters do not notify";

  h.feed({progressEvent(6, 1, 2)});
  EXPECT_EQ(sets.count(), 1) << "an empty batch publishes nothing";
  EXPECT_EQ(seen.count(), 1);

  // What came after the last progress is published by the finish, which sorts
  // every set largest first, ties in arrival order.
  h.feed({ready(duplicateSet(3, 2)),
          ready(duplicateSet(4, 5)),
          {ScanEvent::lookalikeReady{lookalike(10)}},
          finishedEvent()});
  EXPECT_EQ(ids(h.store.sets()), (QList<std::uint64_t>{4, 2, 3, 1}));
  EXPECT_EQ(h.store.lookalikes().size(), 2);
}

TEST(ScanStoreFinish, two_hundred_sets_start_expanded_two_hundred_and_one_start_collapsed) {
  for (std::uint64_t count : {200u, 201u}) {
    SCOPED_TRACE(count);
    Harness h;
    QList<DuplicateSet> sets;
    for (std::uint64_t id = 1; id <= count; ++id) sets.append(duplicateSet(id, id));
    h.finishWith(sets, {lookalike(1000)});
    EXPECT_EQ(h.store.expandedRows().size(), count == 200 ? 200 : 0);
    EXPECT_FALSE(h.store.expandedRows().contains(1000)) << "lookalike groups start collapsed";
  }
}

TEST(ScanStoreFinish, the_fresh_selection_keeps_suggested_copies_and_allows_unverified_only_without_verification) {
  const std::tuple<MatchCriterion, bool, bool> rows[] = {{MatchCriterion::nameAndSize, true, true},
                                                         {MatchCriterion::nameAndSize, false, false},
                                                         {MatchCriterion::contentOnly, false, true}};
  for (const auto& [criterion, verifyContent, verified] : rows) {
    SCOPED_TRACE(testing::Message() << int(criterion) << verifyContent);
    Harness h;
    h.start(options(criterion, verifyContent));
    EXPECT_EQ(h.store.verified(), verified);
    h.feed({ready(duplicateSet(1, 1, {}, 1)), finishedEvent()});
    EXPECT_EQ(h.store.selection(), SelectionModel(h.store.sets(), verified));
  }
}

TEST(ScanStoreNotifications, assigning_an_equal_value_does_not_notify_but_an_in_place_edit_always_does) {
  Harness h;
  QSignalSpy stale(&h.store, &ScanStore::isStaleChanged);
  QSignalSpy selection(&h.store, &ScanStore::selectionChanged);
  QSignalSpy rows(&h.store, &ScanStore::expandedRowsChanged);
  h.store.setIsStale(false);
  h.store.setSelection(SelectionModel());
  h.store.setExpandedRows({});
  EXPECT_EQ(stale.count() + selection.count() + rows.count(), 0);

  h.store.setIsStale(true);
  h.store.setExpandedRows({7});
  h.store.setExpandedRows({7});
  EXPECT_EQ(std::tuple(stale.count(), rows.count()), std::tuple(1, 1));

  h.store.changeExpandedRows([](QSet<std::uint64_t>&) {});
  h.store.changeSelection([](SelectionModel&) {});
  EXPECT_EQ(std::tuple(rows.count(), selection.count()), std::tuple(2, 1));
}

// Prunes one set by the paths; the set's files are /p/0, /p/1, … with freed
// bytes 10, 11, …; no remaining files: the set is dropped.
TEST(ResultPruning, moved_files_leave_their_set_and_sets_without_two_files_or_their_suggested_copy_go) {
  const std::tuple<const char*, int, std::uint32_t, QList<int>, std::optional<QList<int>>, std::uint32_t, std::uint64_t>
      cases[] = {
          {"nothing moved", 3, 1, {}, QList<int>{0, 1, 2}, 1, 999},
          {"a path in no set", 3, 1, {7}, QList<int>{0, 1, 2}, 1, 999},
          {"one other copy of three", 3, 1, {0}, QList<int>{1, 2}, 0, 12},
          {"the other copy of two", 2, 0, {1}, std::nullopt, 0, 0},
          {"the suggested copy, two left", 3, 1, {1}, std::nullopt, 0, 0},
      };
  for (const auto& [name, count, suggestedKeep, moved, remaining, newKeep, reclaimable] : cases) {
    SCOPED_TRACE(name);
    QList<FileEntry> files;
    for (int i = 0; i < count; ++i) files.append(fileEntry(QStringLiteral("/p/%1").arg(i), 10 + i));
    DuplicateSet set = duplicateSet(1, 999, files, suggestedKeep);
    QSet<QString> paths;
    for (int i : moved) paths.insert(QStringLiteral("/p/%1").arg(i));

    const std::optional<DuplicateSet> pruned = pruneSet(set, MovedPaths(paths));
    ASSERT_EQ(pruned.has_value(), remaining.has_value());
    if (!pruned) continue;
    QList<FileEntry> expected;
    for (int i : *remaining) expected.append(files[i]);
    EXPECT_EQ(std::tuple(pruned->files, pruned->suggestedKeep, pruned->reclaimable),
              std::tuple(expected, newKeep, reclaimable));
  }
}

TEST(ResultPruning, a_path_in_either_accent_form_matches_and_unknown_freed_amounts_count_zero_with_the_flags_kept) {
  const QString precomposed = QStringLiteral("/p/caf\u00e9");
  DuplicateSet set = duplicateSet(
      1, 50,
      {fileEntry(QStringLiteral("/p/0"), std::nullopt), fileEntry(precomposed), fileEntry("/p/2", std::nullopt)});
  set.reclaimableEstimated = true;
  set.lookalikes = {fileEntry(precomposed)};
  const auto pruned = pruneSet(set, MovedPaths({QStringLiteral("/p/cafe\u0301")}));
  ASSERT_TRUE(pruned);
  EXPECT_EQ(std::tuple(pruned->files.size(), pruned->reclaimable, pruned->reclaimableEstimated, pruned->lookalikes),
            std::tuple(2, 0u, true, set.lookalikes));
}

TEST(ScanStoreRemoveTrashed, pruned_sets_keep_their_order_and_the_selection_follows_the_files) {
  Harness h;
  const QList<FileEntry> three{fileEntry("/p/0"), fileEntry("/p/1"), fileEntry("/p/2")};
  h.finishWith({duplicateSet(1, 300, three, 1), duplicateSet(2, 200), duplicateSet(3, 100)}, {lookalike(9)});
  h.endStream();
  h.store.changeSelection([&](SelectionModel& s) {
    s.keep(2, h.store.sets()[0]);
    s.setMarked(true, 0, h.store.sets()[0]);
    s.setMarked(true, 1, h.store.sets()[0]);
    s.setMarked(true, 1, h.store.sets()[2]);
  });
  const auto expanded = h.store.expandedRows();
  const auto lookalikes = h.store.lookalikes();
  QSignalSpy sets(&h.store, &ScanStore::setsChanged);
  QSignalSpy selection(&h.store, &ScanStore::selectionChanged);

  h.store.removeTrashed({QStringLiteral("/p/0"), QStringLiteral("/r/b/2")});

  EXPECT_EQ(ids(h.store.sets()), (QList<std::uint64_t>{1, 3}));
  EXPECT_EQ(h.store.selection().keeper(h.store.sets()[0]), 1) << "the kept /p/2 moved from index 2 to 1";
  EXPECT_EQ(h.store.selection().marked().value(1), SelectionModel::Marks{0}) << "the mark on /p/1 follows it";
  EXPECT_EQ(h.store.selection().marked().value(3), SelectionModel::Marks{1});
  EXPECT_EQ(std::tuple(sets.count(), selection.count()), std::tuple(1, 1));
  EXPECT_EQ(h.store.expandedRows(), expanded);
  EXPECT_EQ(h.store.lookalikes(), lookalikes);
  EXPECT_TRUE(h.store.state().is<ScanStore::State::finished>());

  // Nothing pruned leaves the sets quiet but still remaps the selection.
  const SelectionModel before = h.store.selection();
  h.store.removeTrashed({});
  h.store.removeTrashed({QStringLiteral("/nowhere")});
  EXPECT_EQ(std::tuple(sets.count(), selection.count()), std::tuple(1, 3));
  EXPECT_EQ(h.store.selection(), before);
}

TEST(ScanStoreDisplayFolder, files_under_their_root_show_the_roots_name_and_others_their_parent) {
  TempTree tree;
  tree.mkdir("real/Photos/2020");
  std::filesystem::create_directory_symlink(tree.path("real/Photos"), tree.path("link"));
  Harness h;
  h.roots = {QUrl::fromLocalFile(QString::fromStdString(tree.path("link")))};
  h.start();
  const QString real = QString::fromStdString(std::filesystem::canonical(tree.path("real/Photos")).string());
  const std::tuple<QString, std::uint32_t, QString> rows[] = {
      {real + QStringLiteral("/2020/a.jpg"), 0, QStringLiteral("link/2020/")},
      {real + QStringLiteral("/a.jpg"), 0, QStringLiteral("link/")},
      {QStringLiteral("/elsewhere/a.jpg"), 0, QStringLiteral("/elsewhere/")},
      {real + QStringLiteral("/a.jpg"), 1, real + QStringLiteral("/")}};
  for (const auto& [path, rootIndex, shown] : rows) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_EQ(h.store.displayFolder(fileEntry(path, 1, rootIndex)), shown);
  }

  // The next scan of the same root resolves it again.
  std::filesystem::remove(tree.path("link"));
  std::filesystem::create_directory_symlink(tree.path("real/Photos/2020"), tree.path("link"));
  h.start();
  EXPECT_EQ(h.store.displayFolder(fileEntry(real + QStringLiteral("/2020/a.jpg"), 1, 0)), QStringLiteral("link/"));
}

}  // namespace
