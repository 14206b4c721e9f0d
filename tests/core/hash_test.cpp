#include "hash.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "file_facts.hpp"
#include "platform/io_policy.hpp"
#include "sample_seam.hpp"
#include "temp_tree.hpp"

namespace quelmaris {
namespace {

using testing::patterned;
namespace fs = std::filesystem;
using Kind = HashError::Kind;
constexpr std::uint64_t kMiB = 1'048'576;

// The file at path as the walk would have recorded it.
WalkedFile walked(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) throw std::runtime_error("lstat " + path);
  const auto name_offset = static_cast<std::uint32_t>(path.rfind('/') + 1);
  const auto size = static_cast<std::uint64_t>(st.st_size);
  const auto nlink = static_cast<std::uint32_t>(st.st_nlink);
  return WalkedFile{path, name_offset, size, std::nullopt, modified_ns(st), device_id(st.st_dev), st.st_ino, nlink, 0};
}

std::string hex_of(std::string_view bytes) {
  Blake3Hasher hasher;
  hasher.update(bytes);
  return to_hex(hasher.finalize());
}

std::string b3sum_of(const std::string& path) {
  const std::string command = "b3sum --no-names '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::array<char, 65> hex{};
  return pipe && std::fgets(hex.data(), hex.size(), pipe.get()) ? hex.data() : "";
}

std::string text_of(const HashError& error) {
  return "error " + std::to_string(static_cast<int>(error.kind)) + "/" + std::to_string(error.error_number);
}

std::string hex_or_error(const Result<Digest, HashError>& result) {
  return result ? to_hex(result.value()) : text_of(result.error());
}

void append(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const hash::ProgressFn kIgnoreProgress = [](std::uint64_t) {};

class AvoidAtimeOnThisThread {
 public:
  AvoidAtimeOnThisThread() { platform::set_thread_avoids_atime(true); }
  ~AvoidAtimeOnThisThread() { platform::set_thread_avoids_atime(false); }
};

TEST(Blake3Hasher, digest_matches_b3sum_for_empty_one_byte_and_chunked_large_files) {
  testing::TempTree tree;
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{(1u << 20) + 1}}) {
    const std::string content = patterned(size);
    const std::string path = tree.write("f" + std::to_string(size), content);
    Blake3Hasher hasher;
    // Odd chunk sizes make sure incremental feeding equals one-shot hashing.
    for (std::size_t at = 0; at < content.size(); at += 4099) hasher.update(std::string_view(content).substr(at, 4099));
    EXPECT_EQ(to_hex(hasher.finalize()), b3sum_of(path)) << size;
  }
}

TEST(HashSample, whole_file_up_to_the_threshold_and_only_both_64k_ends_above_it) {
  testing::TempTree tree;
  CancelFlag cancel{0};
  for (const std::uint64_t size : {std::uint64_t{0}, hash::kSampleThreshold}) {
    SCOPED_TRACE(size);
    const std::string content = patterned(size);
    const WalkedFile seen = walked(tree.write("f" + std::to_string(size), content));
    EXPECT_EQ(hex_or_error(hash::hash_sample(seen, cancel)), hex_of(content));
    EXPECT_EQ(hex_or_error(hash::hash_full(seen, cancel, kIgnoreProgress)), hex_of(content));
  }
  for (const std::uint64_t size : {hash::kSampleThreshold + 1, 3 * kMiB}) {
    const std::string content = patterned(size);
    EXPECT_EQ(hex_or_error(hash::hash_sample(walked(tree.write("above" + std::to_string(size), content)), cancel)),
              hex_of(content.substr(0, 65'536) + content.substr(size - 65'536)))
        << size;
  }
}

// The file is hashed as it is now, even when rewritten in place at the same size.
TEST(HashFull, multi_chunk_file_reports_progress_summing_to_its_size_and_hashes_whole) {
  testing::TempTree tree;
  const std::string path = tree.write("f", patterned(2 * kMiB + 12'345));
  const WalkedFile seen = walked(path);
  const std::string now = patterned(2 * kMiB + 12'345, 7);
  tree.write("f", now);
  ASSERT_EQ(walked(path).ino, seen.ino);
  CancelFlag cancel{0};
  std::vector<std::uint64_t> reports;
  EXPECT_EQ(hex_or_error(hash::hash_full(seen, cancel, [&](std::uint64_t n) { reports.push_back(n); })), hex_of(now));
  EXPECT_EQ(reports, (std::vector<std::uint64_t>{kMiB, kMiB, 12'345}));
}

// Each case changes the file (or its record's path) after the walk recorded it;
// both operations must refuse it at the open check with the same error.
TEST(HashOpen, file_no_longer_the_walked_one_is_refused_before_reading) {
  using Change = void (*)(const std::string& other, const std::string& path, WalkedFile&);
  // clang-format off
  const std::tuple<const char*, Change, HashError> cases[] = {
      {"replaced by a symbolic link",
       [](auto& o, auto& p, auto&) { fs::remove(p); fs::create_symlink(o, p); }, {Kind::Io, ELOOP}},
      {"deleted", [](auto&, auto& p, auto&) { fs::remove(p); }, {Kind::Io, ENOENT}},
      {"truncated", [](auto&, auto& p, auto&) { fs::resize_file(p, 100'000); }, {Kind::Changed}},
      {"grown", [](auto&, auto& p, auto&) { append(p, "more"); }, {Kind::Changed}},
      {"renamed over by a file of the same size", [](auto& o, auto& p, auto&) { fs::rename(o, p); }, {Kind::Changed}},
      {"a zero byte in the path",
       [](auto&, auto&, auto& seen) { seen.path += std::string("\0tail", 5); }, {Kind::Io, EINVAL}},
      {"replaced by a FIFO", [](auto&, auto& p, auto&) { fs::remove(p); ::mkfifo(p.c_str(), 0644); }, {Kind::Changed}},
  };
  // clang-format on
  for (const auto& [what, change, expected] : cases) {
    SCOPED_TRACE(what);
    testing::TempTree tree;
    const std::string path = tree.write("f", patterned(200'000));
    WalkedFile seen = walked(path);
    change(tree.write("other", patterned(200'000)), path, seen);
    CancelFlag cancel{0};
    const auto opened = hash::open_checked(seen);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error(), expected);
    EXPECT_EQ(hex_or_error(hash::hash_sample(seen, cancel)), text_of(expected));
    EXPECT_EQ(hex_or_error(hash::hash_full(seen, cancel, kIgnoreProgress)), text_of(expected));
  }
}

// The progress callback runs between reads, so it can change the file while
// it is being read.
TEST(HashFull, file_changing_size_while_read_is_changed) {
  // What, size, grows or shrinks, and the bytes passed to the callback in all.
  const std::tuple<const char*, std::uint64_t, bool, std::uint64_t> cases[] = {
      {"small file grows after its single read", 5'000, true, 5'000 + 3},
      {"large file grows after its first chunk", 2 * kMiB, true, 2 * kMiB + 3},
      {"large file shrinks after its first chunk", 2 * kMiB, false, kMiB + 1'000},
  };
  for (const auto& [what, size, grow, expected_reported] : cases) {
    SCOPED_TRACE(what);
    testing::TempTree tree;
    const std::string path = tree.write("f", patterned(size));
    CancelFlag cancel{0};
    std::uint64_t reported = 0;
    const auto full = hash::hash_full(walked(path), cancel, [&, grow = grow](std::uint64_t n) {
      if (reported == 0 && grow) append(path, "abc");
      if (reported == 0 && !grow) fs::resize_file(path, kMiB + 1'000);
      reported += n;
    });
    ASSERT_FALSE(full.ok());
    EXPECT_EQ(full.error(), HashError{Kind::Changed});
    EXPECT_EQ(reported, expected_reported);
  }
}

// The seam between a sample's two chunks is to sampling what the progress
// callback is to a full hash: the file can change or fail while it is read.
TEST(HashSample, file_failing_shrinking_or_cancelled_between_its_two_chunks_has_no_digest) {
  testing::TempTree tree;
  const int folder = ::open(tree.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(folder, 0);
  CancelFlag cancel{0};
  using Act = std::function<void(const WalkedFile&, int fd)>;
  const std::tuple<const char*, Act, HashError> cases[] = {
      {"its reads fail", [&](auto&, int fd) { ::dup2(folder, fd); }, {Kind::Io, EISDIR}},
      {"it shrinks", [](auto& seen, int) { fs::resize_file(seen.path, 100'000); }, {Kind::Changed}},
      {"the scan is cancelled", [&](auto&, int) { cancel.store(1); }, {Kind::Cancelled}},
  };
  for (const auto& [what, act, expected] : cases) {
    SCOPED_TRACE(what);
    cancel.store(0);
    const testing::SampleSeam seam(act);
    const WalkedFile seen = walked(tree.write("f", patterned(300'000)));
    EXPECT_EQ(hex_or_error(hash::hash_sample(seen, cancel)), text_of(expected));
  }
  ::close(folder);
}

TEST(HashCancel, flag_set_before_hashing_or_while_a_large_file_is_read_stops_at_the_next_chunk) {
  testing::TempTree tree;
  CancelFlag cancel{1};
  for (const std::uint64_t size : {std::uint64_t{10}, hash::kSampleThreshold, 3 * kMiB}) {
    SCOPED_TRACE(size);
    const WalkedFile seen = walked(tree.write("f" + std::to_string(size), patterned(size)));
    EXPECT_EQ(hex_or_error(hash::hash_full(seen, cancel, kIgnoreProgress)), text_of(HashError{Kind::Cancelled}));
    EXPECT_EQ(hex_or_error(hash::hash_sample(seen, cancel)), text_of(HashError{Kind::Cancelled}));
  }
  cancel.store(0);
  std::vector<std::uint64_t> reports;
  const auto full = hash::hash_full(walked(tree.write("large", patterned(4 * kMiB))), cancel, [&](std::uint64_t n) {
    reports.push_back(n);
    cancel.store(1, std::memory_order_relaxed);
  });
  EXPECT_EQ(hex_or_error(full), text_of(HashError{Kind::Cancelled}));
  EXPECT_EQ(reports, std::vector<std::uint64_t>{kMiB});
}

// O_NOATIME is refused to anyone but the owner: a scan thread of another user
// must still read what it may read, and still be refused what it may not.
TEST(HashAtime, a_scan_thread_leaves_the_access_time_alone_and_one_of_another_user_falls_back_to_plain_reads) {
  testing::TempTree tree;
  const std::string content = patterned(200'000);
  const std::string readable = tree.write("readable", content), unreadable = tree.write("unreadable", content);
  ASSERT_EQ(::chmod(readable.c_str(), 0644), 0);
  ASSERT_EQ(::chmod(unreadable.c_str(), 0600), 0);
  // An access time older than the modification time is updated by any read
  // under relatime or strictatime.
  const timespec times[2] = {{1'000'000, 0}, {0, UTIME_OMIT}};
  ASSERT_EQ(::utimensat(AT_FDCWD, readable.c_str(), times, 0), 0);
  const WalkedFile readable_seen = walked(readable), unreadable_seen = walked(unreadable);
  CancelFlag cancel{0};
  {
    const AvoidAtimeOnThisThread avoid;
    EXPECT_EQ(hex_or_error(hash::hash_full(readable_seen, cancel, kIgnoreProgress)), hex_of(content));
  }
  struct stat st {};
  ASSERT_EQ(::stat(readable.c_str(), &st), 0);
  EXPECT_EQ(st.st_atim.tv_sec, 1'000'000);

  const int status = testing::run_unprivileged([&] {
    const AvoidAtimeOnThisThread avoid;
    if (hex_or_error(hash::hash_full(readable_seen, cancel, kIgnoreProgress)) != hex_of(content)) return 1;
    if (!hash::hash_sample(readable_seen, cancel).ok()) return 2;
    const auto refused = hash::hash_full(unreadable_seen, cancel, kIgnoreProgress);
    return !refused.ok() && refused.error() == HashError{Kind::Io, EACCES} ? 0 : 3;
  });
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace quelmaris
