// The package test of a folder name: a folder whose extension is one of the
// prepared package extensions is a document to the user, not a folder to
// enter. Thread-safe; allocates only for an extension with non-ASCII text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quelmaris::detail {

// The extension is the text after the last "." (empty for a trailing "."); a
// name without "." has none, nor has one whose only "." leads it. It is
// lower-cased with full Unicode lower-casing and compared byte for byte with
// each of extensions, which are already free of dots and lower-cased.
bool has_package_extension(std::string_view folder_name, const std::vector<std::string>& extensions);

}  // namespace quelmaris::detail
