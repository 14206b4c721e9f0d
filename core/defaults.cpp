#include "defaults.hpp"

namespace quelmaris {

ScanConfig default_scan_config() {
  return ScanConfig{
      .roots = {},
      .mode = MatchMode::NameAndSize,
      .ignore_case = false,
      .verify_content = true,
      .min_size = 1024,
      .include_hidden = true,
      .excluded_names = {".DS_Store", "._*", "Icon\r", ".localized", ".Spotlight-V100", ".fseventsd", ".Trashes",
                         ".TemporaryItems", ".DocumentRevisions-V100"},
      .package_extensions = {"app",       "photoslibrary", "photolibrary", "aplibrary",   "musiclibrary",
                             "tvlibrary", "logicx",        "band",         "fcpbundle",   "imovielibrary",
                             "xcodeproj", "xcworkspace",   "bundle",       "framework",   "plugin",
                             "component", "vst3",          "kext",         "pages",       "numbers",
                             "key",       "rtfd",          "scptd",        "sparsebundle"},
      .io_parallelism = 0,
      .keep_rule = KeepRule::FolderPriority,
  };
}

}  // namespace quelmaris
