// The record kept beside each item in a Trash folder (info/NAME.trashinfo):
// where the item came from and when it was deleted, and the names an item
// may take in the folder. Pure functions over bytes.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace FreedesktopTrash {

// The path's bytes with everything except URL-unreserved characters and "/"
// written as %XX.
std::string percentEncodedPath(std::string_view path);

// The whole record: the original path percent-encoded and the deletion time
// as local time YYYY-MM-DDThh:mm:ss.
std::string trashInfoText(std::string_view originalPath, std::time_t deletedAt);

// The name an item takes in the Trash on its given attempt: the base name for
// number 1, then "report.2.txt", "report.3.txt" … The stem is shortened, at a
// character boundary, so that NAME.trashinfo fits the limit on a file name.
std::string trashEntryName(std::string_view baseName, std::uint64_t number);

}  // namespace FreedesktopTrash
