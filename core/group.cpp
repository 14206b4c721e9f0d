#include "group.hpp"

#include "orderings.hpp"
#include "text.hpp"

#include <algorithm>
#include <unordered_set>

namespace quelmaris::group {

namespace {

bool is_ascii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

struct DevInoHash {
  std::size_t operator()(const DevIno& p) const { return std::hash<std::uint64_t>{}(p.ino * 0x9E3779B97F4A7C15ULL ^ p.dev); }
};

// Keeps the first file of each (dev, ino) in member order; returns how many went.
// Most groups hold a handful of files: those are checked against the files
// kept so far, without building a set for each group.
std::uint64_t collapse_hard_links(std::vector<WalkedFile>& files) {
  constexpr std::size_t kSmallGroup = 16;
  const auto before = files.size();
  if (files.size() <= kSmallGroup) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
      const auto same_inode = [&](const WalkedFile& k) { return k.dev == files[i].dev && k.ino == files[i].ino; };
      if (std::any_of(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(kept), same_inode)) continue;
      if (kept != i) files[kept] = std::move(files[i]);
      ++kept;
    }
    files.resize(kept);
  } else {
    std::unordered_set<DevIno, DevInoHash> seen;
    seen.reserve(files.size());
    std::erase_if(files, [&seen](const WalkedFile& f) { return !seen.insert({f.dev, f.ino}).second; });
  }
  return before - files.size();
}

}  // namespace

std::string normalised_name(std::string_view name, bool ignore_case) {
  // ASCII text is already composed, and its lower case is plain ASCII.
  if (is_ascii(name)) {
    std::string out(name);
    if (ignore_case)
      std::transform(out.begin(), out.end(), out.begin(),
                     [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
  }
  std::string composed = text::nfc(name);
  return ignore_case ? text::nfc(text::to_lower(composed)) : composed;
}

std::size_t GroupingMap::KeyHash::operator()(const GroupKey& key) const {
  return std::hash<std::string_view>{}(key.name) ^ (key.size * 0x9E3779B97F4A7C15ULL);
}

GroupingMap::GroupingMap(std::vector<WalkedFile> files, MatchMode mode, bool ignore_case)
    : files_(std::move(files)), next_(files_.size(), kEnd) {
  chains_.reserve(files_.size());
  for (std::uint32_t i = 0; i < files_.size(); ++i) {
    const WalkedFile& file = files_[i];
    GroupKey key{{}, file.size};
    if (mode == MatchMode::NameAndSize) {
      std::string normalised = normalised_name(file.name(), ignore_case);
      key.name = normalised == file.name() ? file.name() : std::string_view(names_.emplace_back(std::move(normalised)));
    }
    add(i, key);
  }
}

void GroupingMap::add(std::uint32_t index, GroupKey key) {
  auto [it, inserted] = chains_.try_emplace(key, Chain{index, index, 1});
  if (!inserted) {
    next_[it->second.last] = index;
    it->second.last = index;
    ++it->second.count;
  }
}

std::vector<CandidateGroup> candidate_groups(GroupingMap&& map, std::uint64_t& hard_links_collapsed) {
  std::vector<CandidateGroup> groups;
  for (const auto& [key, chain] : map.chains_) {
    if (chain.count < 2) continue;
    CandidateGroup group{std::string(key.name), key.size, {}};
    group.files.reserve(chain.count);
    for (auto i = chain.first; i != GroupingMap::kEnd; i = map.next_[i]) group.files.push_back(std::move(map.files_[i]));
    sort_member_order(group.files);
    hard_links_collapsed += collapse_hard_links(group.files);
    if (group.files.size() >= 2) groups.push_back(std::move(group));
  }
  return groups;
}

void sort_candidate_group_order(std::vector<CandidateGroup>& groups) {
  std::stable_sort(groups.begin(), groups.end(), [](const CandidateGroup& a, const CandidateGroup& b) {
    const auto size_a = a.files.front().size;
    const auto size_b = b.files.front().size;
    if (size_a != size_b) return size_a > size_b;
    if (const auto c = text::compare_bytes(a.name, b.name); c != 0) return c < 0;
    return a.size < b.size;
  });
}

}  // namespace quelmaris::group
