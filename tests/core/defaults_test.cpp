#include "defaults.hpp"

#include <gtest/gtest.h>

namespace quelmaris {
namespace {

TEST(DefaultScanConfig, every_call_returns_the_same_complete_value) {
  const ScanConfig config = default_scan_config();
  EXPECT_EQ(config, default_scan_config());
  const ScanConfig scalars{
      {}, MatchMode::NameAndSize,  false, true, 1024, true, config.excluded_names, config.package_extensions,
      0,  KeepRule::FolderPriority};
  EXPECT_EQ(config, scalars);
  // The lists come in their fixed order.
  EXPECT_EQ(config.excluded_names,
            (std::vector<std::string>{".DS_Store", "._*", "Icon\r", ".localized", ".Spotlight-V100", ".fseventsd",
                                      ".Trashes", ".TemporaryItems", ".DocumentRevisions-V100"}));
  EXPECT_EQ(config.package_extensions,
            (std::vector<std::string>{"app",       "photoslibrary", "photolibrary", "aplibrary",   "musiclibrary",
                                      "tvlibrary", "logicx",        "band",         "fcpbundle",   "imovielibrary",
                                      "xcodeproj", "xcworkspace",   "bundle",       "framework",   "plugin",
                                      "component", "vst3",          "kext",         "pages",       "numbers",
                                      "key",       "rtfd",          "scptd",        "sparsebundle"}));
}

}  // namespace
}  // namespace quelmaris
