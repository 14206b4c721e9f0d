// The sidebar's home abbreviation and the last component of a path.
#include <gtest/gtest.h>
#include <unistd.h>

#include "folders/AbbreviatedPath.h"
#include "platform/LastPathComponent.h"

namespace {

TEST(AbbreviatedPath, only_the_home_folder_itself_or_a_path_inside_it_is_shortened) {
  const std::optional<QString> ann = "/Users/ann", jose = QString::fromUtf8("/home/jos\u00e9");
  // clang-format off
  const std::tuple<std::optional<QString>, QString, QString> cases[] = {
      {ann, "/Users/ann", "~"}, {ann, "/Users/ann/", "~/"}, {ann, "/Users/ann/Documents", "~/Documents"},
      {ann, "/Users/anna/Documents", "/Users/anna/Documents"}, {ann, "/users/ann/Documents", "/users/ann/Documents"},
      {ann, "/Volumes/Disk/Users/ann", "/Volumes/Disk/Users/ann"}, {ann, "/Users", "/Users"},
      {std::nullopt, "/Users/ann", "/Users/ann"},
      // A canonically equivalent home matches; the rest keeps its own spelling.
      {jose, QString::fromUtf8("/home/jose\u0301/Caf\u00e9"), QString::fromUtf8("~/Caf\u00e9")},
      {jose, QString::fromUtf8("/home/jose\u0301"), "~"},
  };
  // clang-format on
  for (const auto& [home, path, shown] : cases) EXPECT_EQ(abbreviatedPath(path, home), shown) << path.toStdString();
}

TEST(AbbreviatedPath, the_user_database_decides_not_the_environment) {
  const QString saved = qEnvironmentVariable("HOME");
  setenv("HOME", "/nonexistent-home-for-test", 1);
  const QString shown = abbreviatedPath("/nonexistent-home-for-test/x");
  setenv("HOME", saved.toLocal8Bit().constData(), 1);
  EXPECT_EQ(shown, "/nonexistent-home-for-test/x");
}

TEST(LastPathComponent, trailing_slashes_are_ignored_and_the_root_names_itself) {
  const std::pair<QString, QString> cases[] = {{"/Users/ann/Photos", "Photos"},
                                               {"/Users/ann/Photos//", "Photos"},
                                               {"/", "/"},
                                               {"Photos", "Photos"},
                                               {"/a b/c%20d", "c%20d"}};
  for (const auto& [path, name] : cases) EXPECT_EQ(lastPathComponent(path), name) << path.toStdString();
}

}  // namespace
