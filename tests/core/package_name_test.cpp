#include "package_name.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quelmaris::detail {
namespace {

struct Case {
  std::string folder;
  std::vector<std::string> extensions;
  bool package;
};

TEST(PackageName, only_the_last_extension_lower_cased_decides) {
  const Case cases[] = {
      {"Trip.PhotosLibrary", {"app", "photoslibrary"}, true},
      {".photoslibrary", {"photoslibrary"}, false},  // its only "." leads the name
      {"a.app.b", {"app"}, false},
      {"a.b.app", {"app"}, true},
      {"app", {"app"}, false},
      {"x.app", {}, false},
      {"name.", {""}, true},  // a trailing "." is an empty extension
      {"name.", {"app"}, false},
      {"name", {""}, false},
      {".", {""}, false},
      {"x.appx", {"app"}, false},
      {"x.\xC3\x84PP", {"\xC3\xA4pp"}, true},  // ÄPP lower-cases to äpp
      {"x.\xE2\x84\xAA" "ext", {"kext"}, true},  // KELVIN SIGN lower-cases to ASCII k
      {"x.k\xC3\xA9y", {"key"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(has_package_extension(c.folder, c.extensions), c.package);
  }
}

}  // namespace
}  // namespace quelmaris::detail
