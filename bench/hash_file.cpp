// Hashes one file in full the way a scan's hash thread does and prints the
// speed of the fastest of several runs, for comparison with
// `b3sum --num-threads 1` on the same (cached) file.
//
//   hash_file PATH [RUNS]

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "file_facts.hpp"
#include "hash.hpp"

using namespace quelmaris;

namespace {

bool walk_one(const std::string& path, WalkedFile& file) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  file = WalkedFile{path,
                    static_cast<std::uint32_t>(path.rfind('/') + 1),
                    static_cast<std::uint64_t>(st.st_size),
                    std::nullopt,
                    modified_ns(st),
                    device_id(st.st_dev),
                    st.st_ino,
                    static_cast<std::uint32_t>(st.st_nlink),
                    0};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH [RUNS]\n", argv[0]);
    return 2;
  }
  WalkedFile file;
  if (!walk_one(argv[1], file)) {
    std::fprintf(stderr, "not a regular file: %s\n", argv[1]);
    return 1;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const CancelFlag cancel{0};
  double best_seconds = 0;
  std::string digest;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    const auto result = hash::hash_full(file, cancel, [](std::uint64_t) {});
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!result) {
      std::fprintf(stderr, "hashing failed: kind %d errno %d\n", static_cast<int>(result.error().kind),
                   result.error().error_number);
      return 1;
    }
    digest = to_hex(result.value());
    if (run == 0 || took.count() < best_seconds) best_seconds = took.count();
  }
  const double gib = static_cast<double>(file.size) / (1024.0 * 1024.0 * 1024.0);
  std::printf("%s  %.3f GiB in %.3f s: %.2f GiB/s (best of %d)\n", digest.c_str(), gib, best_seconds,
              gib / best_seconds, runs);
  return 0;
}
