// A move to the Trash from the results, on real files scanned by the core and
// a temporary Trash: files that changed or lost their keeper since the scan, a
// refused plan and a second confirmation (ignored). The whole road, and
// results that go while the files move, run through the window's tests.
#include <gtest/gtest.h>

#include <QUndoStack>
#include <filesystem>
#include <fstream>

#include "app_test_support.hpp"
#include "interface/CoreScanner.h"
#include "results/ResultsMove.h"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"

namespace {

namespace fs = std::filesystem;
using Paths = std::map<std::string, std::string>;

const quelmaris::testing::TemporaryDataHome dataHome;

struct RefusingPlanner final : TrashPlanning {
  TrashPlan plan(const QList<PlanSet>&, bool) const override {
    throw InvariantViolation{InvariantViolation::AllMarked{7}};
  }
};

// Each row scans a/ and b/ afresh, marks every copy outside a/, then changes the files.
TEST(ResultsMove, problems_since_the_scan_leave_their_files_in_place_and_show_the_outcome) {
  apptest::application();
  // clang-format off
  const std::tuple<const char*, void (*)(const Paths&), std::vector<std::string>, qsizetype> rows[] = {
      {"a marked copy changed", [](const Paths& p) { std::ofstream(p.at("b/two.txt"), std::ios::app) << "!"; }, {"b/two.txt"}, 2},
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
    TrashService trash(
        moved == 0 ? std::unique_ptr<TrashPlanning>(new RefusingPlanner) : std::make_unique<CoreTrashPlanner>(),
        std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    ResultsMove move(scan, trash, &undoStack);
    ScanOptions smallFiles;
    smallFiles.settings.minSize = 1;
    scan.start({QUrl::fromLocalFile(QString::fromStdString(tree.path("a"))),
                QUrl::fromLocalFile(QString::fromStdString(tree.path("b")))},
               smallFiles);
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
