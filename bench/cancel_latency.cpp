// Measures how long a scan takes to end after a cancel that arrives while a
// multi-GiB file is being hashed in full.
//
//   cancel_latency [--size-gib N] [FOLDER]
//
// Writes two identical files of N GiB (default 3) under FOLDER (default /tmp),
// scans them, cancels once a quarter of the bytes are hashed, and prints the
// time from the cancel to the return of run().
#include "defaults.hpp"
#include "scan_job.hpp"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void write_file(const std::filesystem::path& path, std::uint64_t size) {
  std::vector<char> block(1 << 20);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 % 251);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (std::uint64_t written = 0; written < size; written += block.size()) out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

struct CancellingListener : quelmaris::ScanListener {
  quelmaris::ScanJob* job = nullptr;
  std::atomic<bool> cancelled{false};
  Clock::time_point cancel_time;
  void on_event(const quelmaris::ScanEvent& event) override {
    const auto* progress = std::get_if<quelmaris::ScanEvent::Progress>(&event.value);
    if (!progress || progress->bytes_to_hash == 0 || cancelled) return;
    if (progress->bytes_hashed * 4 >= progress->bytes_to_hash && !cancelled.exchange(true)) {
      cancel_time = Clock::now();
      job->cancel();
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t gib = 3;
  std::filesystem::path folder = "/tmp";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--size-gib" && i + 1 < argc) gib = std::stoull(argv[++i]);
    else folder = arg;
  }
  const auto dir = folder / "quelmaris-cancel-latency";
  std::filesystem::create_directories(dir / "a");
  std::filesystem::create_directories(dir / "b");
  for (const char* side : {"a", "b"})
    if (!std::filesystem::exists(dir / side / "big.bin")) write_file(dir / side / "big.bin", gib << 30);

  quelmaris::ScanConfig config = quelmaris::default_scan_config();
  config.roots = {(dir / "a").string(), (dir / "b").string()};
  config.io_parallelism = 2;
  quelmaris::ScanJob job;
  CancellingListener listener;
  listener.job = &job;
  job.run(config, listener);
  const auto end = Clock::now();
  if (!listener.cancelled) return std::fprintf(stderr, "the scan ended before the cancel\n"), 1;
  std::printf("{\"file_gib\":%llu,\"cancel_to_return_ms\":%.1f}\n", static_cast<unsigned long long>(gib),
              std::chrono::duration<double, std::milli>(end - listener.cancel_time).count());
  std::filesystem::remove_all(dir);
}
