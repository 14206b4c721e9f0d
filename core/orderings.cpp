#include "orderings.hpp"

#include "text.hpp"

#include <algorithm>

namespace quelmaris {
namespace {

// Shared by walked files and file entries: both carry root_index and path.
struct RootThenPath {
  template <class File>
  bool operator()(const File& a, const File& b) const {
    if (a.root_index != b.root_index) return a.root_index < b.root_index;
    return text::compare_bytes(a.path, b.path) < 0;
  }
};

}  // namespace

void sort_member_order(std::vector<WalkedFile>& files) { std::ranges::stable_sort(files, RootThenPath{}); }

void sort_entry_order(std::vector<FileEntry>& entries) { std::ranges::stable_sort(entries, RootThenPath{}); }

void sort_identity_order(std::vector<DevIno>& pairs) { std::ranges::stable_sort(pairs); }

void sort_digest_order(std::vector<DigestGroup>& groups) {
  // Digest is an array of uint8_t, so its own order is the unsigned byte order.
  std::ranges::stable_sort(groups, std::ranges::less{}, &DigestGroup::digest);
}

}  // namespace quelmaris
