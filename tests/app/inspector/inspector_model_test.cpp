// The inspector's model over a fake provider, and over the system's metadata
// on a mount that stopped answering.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <filesystem>
#include <memory>

#include "app_test_support.hpp"
#include "fake_metadata_provider.hpp"
#include "inspector/InspectorModel.h"
#include "mount_namespace.hpp"
#include "stopped_fuse_mount.hpp"
#include "temp_tree.hpp"

namespace {

using apptest::FakeMetadataProvider;

FileEntry entry(const QString& path, std::int64_t modifiedNs = 1) {
  return FileEntry{path, path.section(u'/', -1), 0, 10, std::nullopt, modifiedNs, 1, 1, 1, std::nullopt, false, 10};
}

class InspectorModelTest : public ::testing::Test {
 protected:
  // Shows the file and waits until its metadata is published, and its thumbnail
  // too unless pictures are held back.
  void load(const FileEntry& file) {
    model.show(file, {});
    ASSERT_TRUE(apptest::runEventsUntil([&] { return model.metadata() && (!model.isLoading() || picturesHeld); }))
        << file.path.toStdString();
  }
  void holdPictures() {
    picturesHeld = true;
    provider->closePictures();
  }
  void releasePictures() {
    picturesHeld = false;
    provider->openPictures();
  }

  QCoreApplication& app = apptest::application();
  std::shared_ptr<FakeMetadataProvider> provider = std::make_shared<FakeMetadataProvider>();
  InspectorModel model{provider};
  bool picturesHeld = false;
};

// Each row is looked at for a moment, long enough for its fetches to reach
// the mount. First in this file: the child must not inherit the pools of the
// tests after it with threads that exist only in the parent.
TEST(InspectorOnAStoppedMount, rows_looked_at_hold_a_few_threads_and_the_last_one_shows_once_the_mount_answers) {
  namespace fs = std::filesystem;
  constexpr int rows = 60, kCannotMount = 90;
  // The pools' own threads and the few that a mount may hold: two per row before.
  constexpr long kMoreThreadsAtMost = 16;
  quelmaris::testing::TempTree tree;
  const auto name = [](int n) { return "/row" + std::to_string(n) + ".txt"; };
  for (int n = 0; n < rows; ++n) tree.write("served" + name(n), "row");
  const std::string served = fs::canonical(tree.path("served")), top = fs::canonical(tree.mkdir("mounted"));
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    quelmaris::testing::StoppedFuseMount mount(served, top);
    if (!mount.mounted()) return kCannotMount;
    apptest::application();
    InspectorModel model;
    const auto threads = [] { return std::distance(fs::directory_iterator("/proc/self/task"), {}); };
    mount.stop();
    const long before = threads();
    for (int n = 0; n < rows; ++n) {
      model.show(entry(QString::fromStdString(top + name(n))), {});
      QTest::qWait(20);
    }
    if (const long more = threads() - before; !mount.stopped() || more > kMoreThreadsAtMost)
      return std::fprintf(stderr, "%ld more threads\n", more), 1;
    mount.resume();
    if (!apptest::runEventsUntil([&] { return model.metadata() && !model.isLoading(); })) return 2;
    return model.metadata()->exists ? 0 : 3;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no FUSE mount in a mount namespace here";
  EXPECT_EQ(status, 0) << "1: threads grew past the bound (or the mount answered), 2: no details, 3: not found";
}

TEST_F(InspectorModelTest, the_same_file_again_does_nothing_and_another_modification_time_loads_again) {
  load(entry(QStringLiteral("/a")));

  QSignalSpy files(&model, &InspectorModel::fileChanged);
  QSignalSpy metadata(&model, &InspectorModel::metadataChanged);
  model.show(entry(QStringLiteral("/a")), {});
  EXPECT_EQ(files.count() + metadata.count(), 0);

  load(entry(QStringLiteral("/a"), -5));
  EXPECT_EQ(provider->calls(QStringLiteral("/a")), 4);

  model.show(std::nullopt, {});
  EXPECT_FALSE(model.file() || model.metadata() || model.thumbnail());
  files.clear();
  metadata.clear();
  model.show(std::nullopt, {});
  EXPECT_EQ(files.count() + metadata.count(), 0);
}

// The first row's load has begun when the others are flicked through.
TEST_F(InspectorModelTest, superseded_loads_publish_and_cache_nothing_and_leave_no_queue_behind_the_last) {
  const auto row = [](int n) { return entry(QStringLiteral("/row%1").arg(n)); };
  constexpr int rows = 40;
  provider->close();
  model.show(row(0), {});
  ASSERT_TRUE(apptest::runEventsUntil([&] { return provider->calls(row(0).path) == 2; }));
  for (int n = 1; n < rows; ++n) model.show(row(n), {});
  provider->open();
  ASSERT_TRUE(apptest::runEventsUntil([&] { return model.metadata().has_value(); }));
  EXPECT_EQ(model.metadata()->kind, row(rows - 1).path);
  // A fetch taken up before its load was superseded still runs (its thread
  // then no longer counts against the pool, which may grow); none runs twice.
  for (int n = 0; n < rows - 1; ++n) EXPECT_LE(provider->calls(row(n).path), 2) << "row " << n;

  load(row(0));
  EXPECT_EQ(provider->calls(row(0).path), 4) << "the cancelled load was cached";
}

TEST_F(InspectorModelTest, metadata_shows_while_the_picture_is_still_being_read_and_the_pair_is_cached_after) {
  const FileEntry photo = entry(QStringLiteral("/photo.jpg"));
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  provider->answer(photo.path, FakeMetadataProvider::metadataFor(photo.path), picture);
  provider->closePictures();
  model.show(photo, {});
  const bool published = apptest::runEventsUntil([&] { return model.metadata().has_value(); });
  EXPECT_FALSE(model.thumbnail());
  provider->openPictures();
  ASSERT_TRUE(published) << "the metadata waited for the picture";
  ASSERT_TRUE(apptest::runEventsUntil([&] { return model.thumbnail().has_value(); }));

  load(entry(QStringLiteral("/other")));
  model.show(photo, {});
  EXPECT_TRUE(model.metadata() && model.thumbnail()) << "the pair was not cached";
  EXPECT_EQ(provider->calls(photo.path), 2);
}

// Each stale picture is still being made when the next row is shown.
TEST_F(InspectorModelTest, stale_pictures_are_stopped_and_never_hold_back_the_current_load) {
  holdPictures();
  constexpr int stale = 6;
  for (int n = 0; n < stale; ++n) load(entry(QStringLiteral("/slow%1.jpg").arg(n)));
  const FileEntry notes = entry(QStringLiteral("/notes.txt"));
  provider->answer(notes.path, FakeMetadataProvider::metadataFor(notes.path), QImage(2, 2, QImage::Format_RGB32));
  model.show(notes, {});
  ASSERT_TRUE(apptest::runEventsUntil([&] { return model.metadata().has_value(); }));
  EXPECT_EQ(model.metadata()->kind, notes.path);
  // The two threads for pictures were taken by stale ones, which were asked to stop.
  EXPECT_TRUE(apptest::runEventsUntil([&] { return provider->calls(notes.path) == 2; }));
  EXPECT_GE(provider->stoppedPictures(), 2);
  releasePictures();
  EXPECT_TRUE(apptest::runEventsUntil([&] { return model.thumbnail().has_value(); }));
}

// A picture too large for the memory left ends its own fetch, not the program.
TEST_F(InspectorModelTest, an_allocation_failure_in_a_fetch_gives_no_thumbnail_and_keeps_the_metadata) {
  struct Exhausting final : FileMetadataProviding {
    FileMetadata metadata(const QString& path) const override { return FakeMetadataProvider::metadataFor(path); }
    std::optional<QImage> thumbnail(const QString&, int, qreal, std::stop_token) const override {
      throw std::bad_alloc();
    }
  };
  InspectorModel exhausted{std::make_shared<Exhausting>()};
  exhausted.show(entry(QStringLiteral("/bomb.png")), {});
  ASSERT_TRUE(apptest::runEventsUntil([&] { return exhausted.metadata().has_value(); }));
  EXPECT_EQ(exhausted.metadata()->kind, "/bomb.png");
  EXPECT_FALSE(exhausted.thumbnail());
}

TEST_F(InspectorModelTest, the_cache_keeps_the_last_64_loaded_first_in_first_out) {
  const auto path = [](int n) { return QStringLiteral("/f%1").arg(n); };
  for (int n = 1; n <= InspectorModel::cacheLimit; ++n) load(entry(path(n)));

  // A hit publishes what was stored, a missing thumbnail too, and keeps its place.
  model.show(entry(path(1)), {});
  EXPECT_EQ(model.metadata(), FakeMetadataProvider::metadataFor(path(1)));
  EXPECT_FALSE(model.thumbnail());
  EXPECT_EQ(provider->calls(path(1)), 2);

  load(entry(path(65)));
  for (const auto& [file, calls] : {std::pair{2, 2}, {64, 2}, {1, 4}}) {
    load(entry(path(file)));
    EXPECT_EQ(provider->calls(path(file)), calls) << "file " << file;
  }
}

}  // namespace
