// The sidebar's home abbreviation and the last component of a path.
#include <gtest/gtest.h>
#include <unistd.h>


#include "folders/AbbreviatedPath.h"
#include "platform/LastPathComponent.h"

namespace {

TEST(AbbreviatedPath, only_the_home_folder_itself_or_a_path_inside_it_is_shortened) {
  const QString home = "/Users/ann";
  const struct {
    QString path;
    QString shown;
  } cases[] = {
      {"/Users/ann", "~"},
      {"/Users/ann/", "~/"},
      {"/Users/ann/Documents", "~/Documents"},
      {"/Users/anna/Documents", "/Users/anna/Documents"},
      {"/Volumes/Disk/Users/ann", "/Volumes/Disk/Users/ann"},
      {"/users/ann/Documents", "/users/ann/Documents"},
      {"/Users", "/Users"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.path.toStdString());
    EXPECT_EQ(abbreviatedPath(entry.path, home), entry.shown);
  }
}

TEST(AbbreviatedPath, canonically_equivalent_home_matches_and_the_rest_keeps_its_own_spelling) {
  const QString composedHome = QString::fromUtf8("/home/jos\u00e9");
  const QString decomposedPath = QString::fromUtf8("/home/jose\u0301/Caf\u00e9");
  EXPECT_EQ(abbreviatedPath(decomposedPath, composedHome), QString::fromUtf8("~/Caf\u00e9"));
  EXPECT_EQ(abbreviatedPath(QString::fromUtf8("/home/jose\u0301"), composedHome), "~");
}

TEST(AbbreviatedPath, no_home_folder_leaves_every_path_unchanged) {
  EXPECT_EQ(abbreviatedPath("/Users/ann", std::nullopt), "/Users/ann");
}

TEST(AbbreviatedPath, the_user_database_decides_not_the_environment) {
  const QString saved = qEnvironmentVariable("HOME");
  setenv("HOME", "/nonexistent-home-for-test", 1);
  const QString shown = abbreviatedPath("/nonexistent-home-for-test/x");
  setenv("HOME", saved.toLocal8Bit().constData(), 1);
  EXPECT_EQ(shown, "/nonexistent-home-for-test/x");
}

TEST(LastPathComponent, trailing_slashes_are_ignored_and_the_root_names_itself) {
  const struct {
    QString path;
    QString name;
  } cases[] = {
      {"/Users/ann/Photos", "Photos"},
      {"/Users/ann/Photos/", "Photos"},
      {"/Users/ann/Photos//", "Photos"},
      {"/", "/"},
      {"Photos", "Photos"},
      {"/a b/c%20d", "c%20d"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.path.toStdString());
    EXPECT_EQ(lastPathComponent(entry.path), entry.name);
  }
}

}  // namespace
