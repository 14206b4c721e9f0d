#include "inspector/InspectedItem.h"

std::optional<FileEntry> inspectedFile(const std::optional<InspectedItem>& item) {
  if (!item) return std::nullopt;
  if (const auto* member = std::get_if<InspectedMember>(&*item)) return member->set.files.at(member->index);
  if (const auto* lookalike = std::get_if<InspectedLookalike>(&*item)) return lookalike->file;
  return std::nullopt;
}
