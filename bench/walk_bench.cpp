// Times the directory walk alone (listing and lstat of every entry) over the
// given roots with N walk threads, for comparison with `find -printf '%s\n'`.
//
//   walk_bench [--threads N] ROOT...
#include "defaults.hpp"
#include "pools.hpp"
#include "progress.hpp"
#include "roots.hpp"
#include "walk.hpp"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

struct NullListener : quelmaris::ScanListener {
  void on_event(const quelmaris::ScanEvent&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  using namespace quelmaris;
  std::uint32_t threads = 8;
  std::vector<std::string> configured;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--threads" && i + 1 < argc) threads = static_cast<std::uint32_t>(std::stoul(argv[++i]));
    else configured.push_back(arg);
  }
  const auto start = std::chrono::steady_clock::now();
  const auto roots = roots::check_roots(configured);
  auto pool = ScanPool::build(threads);
  if (!pool) return std::fprintf(stderr, "%s\n", pool.error().c_str()), 1;
  const ScanConfig defaults = default_scan_config();
  const WalkSettings settings{defaults.excluded_names, defaults.package_extensions, true, 1, std::nullopt};
  NullListener listener;
  ProgressReporter reporter(listener);
  CancelFlag cancel{0};
  std::size_t files = 0;
  pool.value()->execute([&] { files = walk::walk_root(roots.walk_roots, roots.nested, settings, reporter, cancel).size(); });
  const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("{\"files_seen\":%llu,\"files\":%zu,\"threads\":%u,\"elapsed_ms\":%.1f}\n",
              static_cast<unsigned long long>(reporter.files_seen.load()), files, threads, ms);
}
