// A marking the core refuses, from the real planner through the Trash service to the outcome sheet.
#include <gtest/gtest.h>

#include <QLabel>
#include <QUndoStack>
#include <filesystem>

#include "app_test_support.hpp"
#include "interface/CoreTrashPlanner.h"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/TrashOutcomeSheet.h"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using Outcome = TrashService::Outcome;

const quelmaris::testing::TemporaryDataHome dataHome;

std::string labelText(const QWidget& sheet, const char* name) {
  const auto* label = sheet.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text().toStdString() : "-";
}

TEST(TrashRefusal, a_copy_kept_by_one_set_and_marked_in_another_moves_nothing_and_the_sheet_names_the_violation) {
  widgettest::application();
  const quelmaris::testing::TempTree tree;
  const std::string shared = tree.write("a/x.txt", "same"), inFirst = tree.write("b/x.txt", "same"),
                    inSecond = tree.write("c/x.txt", "same");
  // Set 11 keeps the shared copy; set 12 keeps another and marks the shared one.
  const PlanSet keeps{11, {apptest::entryFor(shared), apptest::entryFor(inFirst)}, 0, {1}, true};
  const PlanSet marks{12, {apptest::entryFor(inSecond), apptest::entryFor(shared)}, 0, {1}, true};

  for (const QList<PlanSet>& sets : {QList<PlanSet>{keeps, marks}, QList<PlanSet>{marks, keeps}}) {
    SCOPED_TRACE(sets.front().setId);
    TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>());
    QUndoStack undoStack;
    const QFuture<Outcome> future = service.moveToTrash(sets, false, &undoStack, {});
    // The plan reads the disk, so even a refusal is answered from another thread.
    ASSERT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 120'000));
    const Outcome outcome = future.result();

    EXPECT_EQ(outcome, (Outcome{{}, 0, false, {}, {}, "KeeperMarked(setId: 12)"}));
    EXPECT_TRUE(fs::exists(shared) && fs::exists(inFirst) && fs::exists(inSecond));
    EXPECT_FALSE(fs::exists(dataHome.trash())) << "nothing reached the Trash";
    EXPECT_EQ(undoStack.count(), 0);
    EXPECT_FALSE(service.isMoving());

    const TrashOutcomeSheet sheet(outcome);
    EXPECT_EQ(labelText(sheet, "title"), "Nothing was moved");
    EXPECT_EQ(labelText(sheet, "explanation"),
              "The selection could have removed the last copy of a file (KeeperMarked(setId: 12)).");
    EXPECT_EQ(labelText(sheet, "skippedHeading"), "-");
    EXPECT_EQ(labelText(sheet, "failedHeading"), "-");
  }
}

}  // namespace
