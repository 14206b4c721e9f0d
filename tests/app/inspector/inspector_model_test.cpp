// The inspector's model over a fake provider.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <memory>

#include "app_test_support.hpp"
#include "fake_metadata_provider.hpp"
#include "inspector/InspectorModel.h"

namespace {

using apptest::FakeMetadataProvider;

FileEntry entry(const QString& path, std::int64_t modifiedNs = 1) {
  return FileEntry{path, path.section(u'/', -1), 0, 10, std::nullopt, modifiedNs, 1, 1, 1, std::nullopt, false, 10};
}

class InspectorModelTest : public ::testing::Test {
 protected:
  // Shows the file and waits until its metadata is published.
  void load(const FileEntry& file) {
    model.show(file, {});
    ASSERT_TRUE(apptest::runEventsUntil([&] { return model.metadata().has_value(); })) << file.path.toStdString();
  }

  QCoreApplication& app = apptest::application();
  std::shared_ptr<FakeMetadataProvider> provider = std::make_shared<FakeMetadataProvider>();
  InspectorModel model{provider};
};

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
  int started = 0;
  for (int n = 0; n < rows - 1; ++n) started += provider->calls(row(n).path);
  // Only the fetches a free thread had taken before the next show began.
  EXPECT_LE(started, 4);

  load(row(0));
  EXPECT_EQ(provider->calls(row(0).path), 4) << "the cancelled load was cached";
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
