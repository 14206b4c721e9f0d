// The move to the Trash and its undo through the service, on real files and a temporary Trash.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QThread>
#include <QUndoStack>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "app_test_support.hpp"
#include "bounded_child.hpp"
#include "interface/CoreScanner.h"
#include "interface/CoreTrashPlanner.h"
#include "platform/ProcessEnd.h"
#include "results/ResultsMove.h"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/FreedesktopTrash.h"
#include "trash/TrashService.h"

namespace {

namespace fs = std::filesystem;
using quelmaris::testing::read_file;
using quelmaris::testing::TempTree;
using Outcome = TrashService::Outcome;
using Paths = std::map<std::string, std::string>;

const quelmaris::testing::TemporaryDataHome dataHome;

using apptest::urlOf;
QUrl trashUrl(const std::string& name) { return urlOf((dataHome.trash() / "files" / name).string()); }

FileEntry entryFor(const std::string& path, std::optional<std::uint64_t> freedBytes) {
  FileEntry entry = apptest::entryFor(path);
  entry.freedBytes = freedBytes;
  return entry;
}

// The names in a folder, none when it is missing.
std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code missing;
  for (const auto& entry : fs::directory_iterator(folder, missing)) names.insert(entry.path().filename().string());
  return names;
}

Outcome awaitOutcome(const QFuture<Outcome>& future) {
  EXPECT_TRUE(apptest::runEventsUntil([&] { return future.isFinished(); }));
  return future.result();
}

// The real file seam, failing one path, changing files after its first move, noting its calls.
struct FailingOneFile final : FileTrashing {
  explicit FailingOneFile(QString path, std::function<void()> hook = {})
      : failing(std::move(path)), afterFirstMove(std::move(hook)) {}
  quelmaris::Result<TrashedItem, FileOperationError> trashItem(const QUrl& url) const override {
    calls.append(url.toLocalFile());
    calledOffMainThread = QThread::currentThread() != apptest::application().thread();
    if (url.toLocalFile() == failing) return quelmaris::Failure{FileOperationError{"refused"}};
    auto trashed = system.trashItem(url);
    if (calls.size() == 1 && afterFirstMove) afterFirstMove();
    return trashed;
  }
  quelmaris::Result<bool, FileOperationError> itemExists(const QUrl& url) const override {
    return system.itemExists(url);
  }
  std::optional<FileOperationError> moveItem(const QUrl& source, const QUrl& destination,
                                             const ItemIdentity& identity) const override {
    return system.moveItem(source, destination, identity);
  }
  const QString failing;
  const std::function<void()> afterFirstMove;
  mutable QStringList calls;
  mutable bool calledOffMainThread = false;
  SystemFileTrashing system;
};

struct RefusingPlanner final : TrashPlanning {
  explicit RefusingPlanner(InvariantViolation refusal) : violation(std::move(refusal)) {}
  TrashPlan plan(const QList<PlanSet>&, bool) const override { throw violation; }
  InvariantViolation violation;
};

class TrashServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::application();
    fs::remove_all(dataHome.trash());
  }
  // A keeper and two marked copies of one content, with known freed sizes.
  struct Copies {
    std::string keeper, first, second;
    PlanSet set;
  };
  Copies threeCopies(std::optional<std::uint64_t> firstFreed = 100, std::optional<std::uint64_t> secondFreed = 200) {
    Copies c{tree.write("keep/a.txt", "same"), tree.write("one/a b.txt", "same"), tree.write("two/a.txt", "same"), {}};
    c.set = PlanSet{
        1, {entryFor(c.keeper, 0), entryFor(c.first, firstFreed), entryFor(c.second, secondFreed)}, 0, {1, 2}, true};
    return c;
  }

  TempTree tree;
  QUndoStack undoStack;
};

TEST_F(TrashServiceTest,
       marked_copies_reach_the_trash_with_records_and_one_undo_entry_puts_them_back_and_counts_make_the_identity) {
  const Copies c = threeCopies();
  TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
  const Outcome outcome = awaitOutcome(service.moveToTrash({c.set}, false, &undoStack, {urlOf(tree.root())}));

  EXPECT_EQ(
      outcome,
      (Outcome{{{urlOf(c.first), trashUrl("a b.txt")}, {urlOf(c.second), trashUrl("a.txt")}}, 300, false, {}, {}, {}}));
  EXPECT_EQ(outcome.id(), 62);
  Outcome skipsAndFailures;  // the identity of one moved file, yet another outcome
  skipsAndFailures.skipped = QList<PlanSkip>(4, PlanSkip{0, QString(), PlanSkipReason::missing});
  skipsAndFailures.failed = QList<TrashService::Failure>(3);
  EXPECT_EQ(skipsAndFailures.id(), 31);
  EXPECT_NE(skipsAndFailures, (Outcome{{TrashService::Move{}}, 0, false, {}, {}, {}}));
  EXPECT_TRUE(fs::exists(c.keeper));
  EXPECT_FALSE(fs::exists(c.first));
  EXPECT_EQ(read_file(dataHome.trash() / "files" / "a b.txt"), "same");
  ASSERT_EQ(undoStack.count(), 1);
  EXPECT_EQ(undoStack.undoText(), QStringLiteral("Move to Trash"));
  EXPECT_FALSE(service.lastRestore());

  QSignalSpy restores(&service, &TrashService::lastRestoreChanged);
  undoStack.undo();
  EXPECT_FALSE(service.lastRestore()) << "the restore runs after the undo entry returns";
  ASSERT_TRUE(apptest::runEventsUntil([&] { return service.lastRestore().has_value(); }));
  EXPECT_EQ(*service.lastRestore(), (TrashService::RestoreOutcome{{urlOf(c.first), urlOf(c.second)}, {}}));
  EXPECT_EQ(restores.count(), 1) << "absent to absent notifies nobody";
  EXPECT_EQ(read_file(c.first), "same");
  EXPECT_EQ(read_file(c.second), "same");
  EXPECT_TRUE(fs::is_empty(dataHome.trash() / "files"));
  EXPECT_TRUE(fs::is_empty(dataHome.trash() / "info"));
  EXPECT_FALSE(undoStack.canRedo());
  EXPECT_EQ(undoStack.count(), 0);
  // The next undo clears the last restore before setting its own.
  PlanSet onlyFirst = c.set;
  onlyFirst.marked = {1};
  ASSERT_EQ(awaitOutcome(service.moveToTrash({onlyFirst}, false, &undoStack, {})).moved.size(), 1);
  undoStack.undo();
  EXPECT_EQ(restores.count(), 2);
  EXPECT_FALSE(service.lastRestore());
  ASSERT_TRUE(apptest::runEventsUntil([&] { return service.lastRestore().has_value(); }));
  EXPECT_EQ(restores.count(), 3);
  EXPECT_EQ(service.lastRestore()->restored, QList<QUrl>{urlOf(c.first)});
}

TEST_F(TrashServiceTest,
       freed_bytes_count_only_moved_files_and_a_refused_file_is_recorded_while_the_rest_move_in_order) {
  const std::tuple<const char*, std::optional<std::uint64_t>, bool> rows[] = {
      {"a hard link frees nothing and is no estimate", 0, false},
      {"an unknown size adds nothing and estimates", std::nullopt, true},
  };
  for (const auto& [what, firstFreed, estimated] : rows) {
    SCOPED_TRACE(what);
    for (const char* folder : {"keep", "one", "two"}) fs::remove_all(tree.root() / folder);
    TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    const Outcome outcome = awaitOutcome(service.moveToTrash({threeCopies(firstFreed, 200).set}, false, nullptr, {}));
    EXPECT_EQ(std::tuple(outcome.moved.size(), outcome.freedBytes, outcome.freedEstimated),
              std::tuple(2, 200, estimated));
  }
  // A file the Trash refuses is recorded and the rest still move in plan order;
  // its unknown size changes nothing.
  fs::remove_all(dataHome.trash());
  const Copies c = threeCopies(std::nullopt, 200);
  const auto files = std::make_shared<FailingOneFile>(QString::fromStdString(c.first));
  TrashService service(std::make_unique<CoreTrashPlanner>(), files);
  const Outcome outcome = awaitOutcome(service.moveToTrash({c.set}, false, &undoStack, {}));

  EXPECT_EQ(files->calls, (QStringList{QString::fromStdString(c.first), QString::fromStdString(c.second)}));
  EXPECT_TRUE(files->calledOffMainThread);
  EXPECT_EQ(
      outcome,
      (Outcome{
          {{urlOf(c.second), trashUrl("a.txt")}}, 200, false, {}, {{QString::fromStdString(c.first), "refused"}}, {}}));
  EXPECT_TRUE(fs::exists(c.first));
  EXPECT_EQ(undoStack.count(), 1);
  // Nothing moved, by refusal or for want of files, registers no undo.
  PlanSet onlyFirst = c.set;
  onlyFirst.marked = {1};
  const Outcome refused = awaitOutcome(service.moveToTrash({onlyFirst}, false, &undoStack, {}));
  EXPECT_TRUE(refused.moved.isEmpty());
  EXPECT_EQ(refused.failed.size(), 1);
  EXPECT_EQ(awaitOutcome(service.moveToTrash({}, false, &undoStack, {})), Outcome{});
  EXPECT_EQ(undoStack.count(), 1);
}

TEST_F(TrashServiceTest, files_and_kept_copies_changed_while_the_move_runs_are_skipped_and_the_rest_moved) {
  const Copies c = threeCopies();
  const std::string rewritten = tree.write("three/a.txt", "same"), untouched = tree.write("four/a.txt", "same");
  const std::string otherKeeper = tree.write("keep/b.txt", "other"), orphan = tree.write("one/b.txt", "other");
  PlanSet first = c.set;
  first.files << entryFor(rewritten, 4) << entryFor(untouched, 4);
  first.marked = {1, 2, 3, 4};
  const PlanSet second{2, {entryFor(otherKeeper, 5), entryFor(orphan, 5)}, 0, {1}, true};
  const auto files = std::make_shared<FailingOneFile>(QString(), [&] {
    fs::copy_file(c.second, tree.path("stand-in"));
    fs::last_write_time(tree.path("stand-in"), fs::last_write_time(c.second));
    fs::rename(tree.path("stand-in"), c.second);
    std::ofstream(rewritten, std::ios::app) << "!";
    fs::remove(otherKeeper);
  });
  TrashService service(std::make_unique<CoreTrashPlanner>(), files);
  const Outcome outcome = awaitOutcome(service.moveToTrash({first, second}, false, nullptr, {}));

  const auto path = [](const std::string& p) { return QString::fromStdString(p); };
  EXPECT_EQ(outcome, (Outcome{{{urlOf(c.first), trashUrl("a b.txt")}, {urlOf(untouched), trashUrl("a.txt")}},
                              104,
                              false,
                              {{1, path(c.second), PlanSkipReason::changed},
                               {1, path(rewritten), PlanSkipReason::changed},
                               {2, path(orphan), PlanSkipReason::keeperMissing}},
                              {},
                              {}}));
  EXPECT_EQ(files->calls, (QStringList{path(c.first), path(untouched)}));
  EXPECT_EQ(read_file(orphan), "other") << "the last copy stays";
}

TEST_F(TrashServiceTest, a_refused_plan_touches_no_file_and_names_the_violation) {
  const Copies c = threeCopies();
  const auto files = std::make_shared<FailingOneFile>(QString());
  const InvariantViolation refusal{InvariantViolation::IndexOutOfRange{12, 4}};
  TrashService service(std::make_unique<RefusingPlanner>(refusal), files);
  QSignalSpy restores(&service, &TrashService::lastRestoreChanged);
  EXPECT_EQ(awaitOutcome(service.moveToTrash({c.set}, false, &undoStack, {})),
            (Outcome{{}, 0, false, {}, {}, "IndexOutOfRange(setId: 12, index: 4)"}));
  EXPECT_TRUE(files->calls.isEmpty());
  EXPECT_TRUE(fs::exists(c.first) && fs::exists(c.second) && fs::exists(c.keeper));
  EXPECT_EQ(undoStack.count(), 0);
  EXPECT_EQ(restores.count(), 0);
}

// Each round quits a little way into a long move, whatever step the file in hand is at.
TEST_F(TrashServiceTest, quitting_during_a_long_move_leaves_each_file_in_its_place_or_in_the_trash_with_its_record) {
  constexpr std::uint32_t count = 20'000;
  PlanSet set{1, {entryFor(tree.write("keep.txt", "same"), 0)}, 0, {}, true};
  for (std::uint32_t i = 1; i <= count; ++i) {
    set.files.append(entryFor(tree.write("marked/" + std::to_string(i), "same"), 4));
    set.marked.append(i);
  }
  const fs::path files = dataHome.trash() / "files";
  for (int round = 0; round < 10; ++round) {
    const std::size_t before = namesIn(files).size();
    const auto quitMidway = [&] {
      TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
      service.moveToTrash({set}, false, nullptr, {});
      apptest::runEventsUntil([&] { return namesIn(files).size() > before; });
      ProcessEnd::endWithin(ProcessEnd::grace, 0);  // as main does; the process ends right after
      return 0;
    };
    ASSERT_EQ(quelmaris::testing::run_in_bounded_child(120, quitMidway), 0);
  }
  std::set<std::string> records;
  for (const std::string& name : namesIn(dataHome.trash() / "info")) records.insert(fs::path(name).stem().string());
  EXPECT_EQ(records, namesIn(files));
  EXPECT_EQ(namesIn(tree.path("marked")).size() + namesIn(files).size(), count);
}

TEST_F(TrashServiceTest, undo_leaves_in_the_trash_what_it_cannot_vouch_for_says_why_and_restores_the_rest) {
  const std::string keeper = tree.write("keep.txt", "same"), taken = tree.write("x/taken.txt", "same"),
                    emptied = tree.write("y/emptied.txt", "same"), stranger = tree.write("w/stranger.txt", "same"),
                    edited = tree.write("v/edited.txt", "same"), free = tree.write("z/free.txt", "same");
  const PlanSet set{2,
                    {entryFor(keeper, 0), entryFor(taken, 4), entryFor(emptied, 4), entryFor(stranger, 4),
                     entryFor(edited, 4), entryFor(free, 4)},
                    0,
                    {1, 2, 3, 4, 5},
                    true};
  TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
  ASSERT_EQ(awaitOutcome(service.moveToTrash({set}, false, &undoStack, {})).moved.size(), 5);
  const fs::path files = dataHome.trash() / "files", info = dataHome.trash() / "info";
  tree.write("x/taken.txt", "newcomer");
  fs::remove(files / "emptied.txt");
  // The Trash emptied, then another program's file trashed from the same place under the same name.
  // The first item's inode is held, so that the newcomer has another number (a freed number handed
  // on is told by the size or date).
  fs::create_hard_link(files / "stranger.txt", tree.path("held"));
  fs::remove(files / "stranger.txt");
  fs::remove(info / "stranger.txt.trashinfo");
  ASSERT_TRUE(FreedesktopTrash::trash(tree.write("w/stranger.txt", "stranger")).ok());
  std::ofstream(info / "edited.txt.trashinfo") << "[Trash Info]\nPath=/elsewhere/edited.txt\n";

  undoStack.undo();
  ASSERT_TRUE(apptest::runEventsUntil([&] { return service.lastRestore().has_value(); }));

  const TrashService::RestoreOutcome& result = *service.lastRestore();
  EXPECT_EQ(result.restored, QList<QUrl>{urlOf(free)});
  const auto failure = [](const std::string& path, const char* error) {
    return TrashService::Failure{QString::fromStdString(path), error};
  };
  EXPECT_EQ(result.notRestored, (QList<TrashService::Failure>{
                                    failure(taken, "Another item is in its place."),
                                    failure(emptied, "The item is no longer in the Trash."),
                                    failure(stranger, "Another file now has its name in the Trash."),
                                    failure(edited, "Its Trash record no longer names this place."),
                                }));
  EXPECT_EQ(read_file(taken), "newcomer");
  EXPECT_EQ(read_file(files / "taken.txt"), "same");
  EXPECT_TRUE(fs::exists(info / "taken.txt.trashinfo"));
  EXPECT_FALSE(fs::exists(emptied));
  EXPECT_FALSE(fs::exists(stranger)) << "the other program's file never reaches the user's folder";
  EXPECT_EQ(read_file(files / "stranger.txt"), "stranger");
  EXPECT_EQ(read_file(free), "same");
}

// Each row scans a/ and b/ afresh, marks every copy outside a/, then changes the files.
TEST(ResultsMove, problems_since_the_scan_leave_their_files_in_place_and_show_the_outcome) {
  apptest::application();
  // clang-format off
  const std::tuple<const char*, void (*)(const Paths&), std::vector<std::string>, qsizetype> rows[] = {
      {"a marked copy changed", [](const Paths& p) { std::ofstream(p.at("b/two.txt"), std::ios::app) << "!"; },
       {"b/two.txt"}, 2},
      {"a keeper deleted", [](const Paths& p) { fs::remove(p.at("a/one.txt")); }, {"b/deep/one.txt", "b/one.txt"}, 1},
      {"a refused plan", [](const Paths&) {}, {}, 0},
  };
  // clang-format on
  for (const auto& [what, change, skipped, moved] : rows) {
    SCOPED_TRACE(what);
    fs::remove_all(dataHome.trash());
    const quelmaris::testing::TempTree tree;
    Paths paths;
    for (const char* relative : {"a/one.txt", "b/one.txt", "b/deep/one.txt", "a/two.txt", "b/two.txt"})
      paths[relative] = tree.write(relative, fs::path(relative).filename().string());
    ScanStore scan{std::make_shared<CoreScanner>()};
    std::unique_ptr<TrashPlanning> planner = std::make_unique<CoreTrashPlanner>();
    if (moved == 0) planner = std::make_unique<RefusingPlanner>(InvariantViolation{InvariantViolation::AllMarked{7}});
    TrashService trash(std::move(planner), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    ResultsMove move(scan, trash, &undoStack);
    ScanOptions smallFiles;
    smallFiles.settings.minSize = 1;
    scan.start({urlOf(tree.path("a")), urlOf(tree.path("b"))}, smallFiles);
    ASSERT_TRUE(
        apptest::runEventsUntil([&] { return scan.state().is<ScanStore::State::finished>() && !scan.session(); }));
    ASSERT_EQ(scan.sets().size(), 2);
    scan.changeSelection([&](SelectionModel& selection) {
      selection.applyMarking(SelectionModel::Marking::selectOutsideFirstFolder, scan.sets());
    });
    const QList<DuplicateSet> setsBefore = scan.sets();
    const SelectionModel selectionBefore = scan.selection();
    change(paths);
    move.confirmMove();
    EXPECT_TRUE(move.isMoving());
    move.confirmMove();  // ignored while the move runs
    ASSERT_TRUE(apptest::runEventsUntil([&] { return !move.isMoving(); }));

    ASSERT_TRUE(move.problems());
    EXPECT_FALSE(move.lastMove());
    EXPECT_EQ(move.problems()->moved.size(), moved);
    ASSERT_EQ(move.problems()->skipped.size(), std::ssize(skipped));
    for (std::size_t i = 0; i < skipped.size(); ++i) {
      EXPECT_EQ(move.problems()->skipped[static_cast<qsizetype>(i)].path.toStdString(), paths[skipped[i]]);
      EXPECT_TRUE(fs::exists(paths[skipped[i]]));
    }
    if (moved == 0) {
      EXPECT_EQ(move.problems()->invariantViolation, "AllMarked(setId: 7)");
      EXPECT_EQ(scan.sets(), setsBefore);
      EXPECT_EQ(scan.selection(), selectionBefore);
      EXPECT_FALSE(fs::exists(dataHome.trash() / "files")) << "nothing reached the Trash";
    }
  }
}

}  // namespace
