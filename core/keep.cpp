#include "keep.hpp"

#include "path_components.hpp"
#include "text.hpp"

namespace quelmaris {
namespace keep {
namespace {

// A file without a birth time is compared by its modification time.
std::int64_t keep_time(const FileEntry& file) { return file.created_ns.value_or(file.modified_ns); }

std::weak_ordering shorter_path(const FileEntry& a, const FileEntry& b) {
  if (auto c = path::component_count(a.path) <=> path::component_count(b.path); c != 0) return c;
  return a.path.size() <=> b.path.size();
}

std::weak_ordering primary_key(const FileEntry& a, const FileEntry& b, KeepRule rule) {
  switch (rule) {
    case KeepRule::FolderPriority:
      return a.root_index <=> b.root_index;
    case KeepRule::Oldest:
      return keep_time(a) <=> keep_time(b);
    case KeepRule::Newest:
      return keep_time(b) <=> keep_time(a);
    case KeepRule::ShortestPath:
      return shorter_path(a, b);
  }
  throw InternalError("unknown keep rule");
}

}  // namespace

std::weak_ordering keep_order(const FileEntry& a, const FileEntry& b, KeepRule rule) {
  if (auto c = primary_key(a, b, rule); c != 0) return c;
  // Whatever the rule, ties go to the older file; under Newest too.
  if (auto c = keep_time(a) <=> keep_time(b); c != 0) return c;
  if (auto c = a.modified_ns <=> b.modified_ns; c != 0) return c;
  return text::compare_bytes(a.path, b.path);
}

}  // namespace keep

std::uint32_t choose_keeper(std::span<const FileEntry> files, KeepRule rule) {
  if (files.size() == 1) return 0;
  if (files.empty()) throw InternalError("a set has at least one file");
  std::size_t best = 0;
  for (std::size_t i = 1; i < files.size(); ++i) {
    if (keep::keep_order(files[best], files[i], rule) > 0) best = i;
  }
  return static_cast<std::uint32_t>(best);
}

}  // namespace quelmaris
