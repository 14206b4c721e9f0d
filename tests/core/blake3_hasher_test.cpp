#include "blake3_hasher.hpp"
#include "temp_tree.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace quelmaris {
namespace {

using testing::patterned;
std::string b3sum_of(const std::string& path) {
  const std::string command = "b3sum --no-names '" + path + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return {};
  std::array<char, 128> line{};
  if (std::fgets(line.data(), line.size(), pipe.get()) == nullptr) return {};
  std::string out(line.data());
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

TEST(Blake3Hasher, digest_matches_b3sum_for_empty_one_byte_and_chunked_large_files) {
  testing::TempTree tree;
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{(1u << 20) + 1}}) {
    SCOPED_TRACE(size);
    const std::string content = patterned(size);
    const std::string path = tree.write("f" + std::to_string(size), content);

    Blake3Hasher hasher;
    // Odd chunk sizes make sure incremental feeding equals one-shot hashing.
    for (std::size_t at = 0; at < content.size(); at += 4099)
      hasher.update(std::string_view(content).substr(at, 4099));
    EXPECT_EQ(to_hex(hasher.finalize()), b3sum_of(path));
  }
}

}  // namespace
}  // namespace quelmaris
