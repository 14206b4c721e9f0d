// Runs one scan over the given roots and prints one JSON line with its
// summary, the hash thread count and the peak resident memory.
//
//   scan_bench [--content-only] [--no-verify] [--ignore-case] [--io N]
//              [--min-size N] [--list FILE] [--via-ffi] ROOT...
//
// --via-ffi runs the scan through the C call interface, as the application
// does: the configuration and every event cross it in their byte form.
//
// --list writes every duplicate set as a block of paths (one per line, blocks
// separated by a blank line), the format the corpus checker reads.
#include "defaults.hpp"
#include "quelmaris_ffi.h"
#include "scan_job.hpp"
#include "core_buffer.hpp"
#include "value_form.hpp"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace quelmaris;

class BenchListener : public ScanListener {
public:
  explicit BenchListener(bool keep_sets) : keep_sets_(keep_sets) {}

  void on_event(const ScanEvent& event) override {
    if (const auto* ready = std::get_if<ScanEvent::SetReady>(&event.value)) {
      if (!keep_sets_) return;
      std::vector<std::string> paths;
      for (const auto& file : ready->set.files) paths.push_back(file.path);
      std::lock_guard lock(mutex_);
      sets_.push_back(std::move(paths));
    } else if (const auto* finished = std::get_if<ScanEvent::Finished>(&event.value)) {
      summary_ = finished->summary;
    } else if (const auto* failed = std::get_if<ScanEvent::Failed>(&event.value)) {
      failure_ = failed->error;
    }
  }

  std::optional<ScanSummary> summary_;
  std::optional<std::string> failure_;
  std::vector<std::vector<std::string>> sets_;

private:
  bool keep_sets_;
  std::mutex mutex_;
};

// The listener behind the C interface: odd handle 1 stands for the one
// BenchListener of this run, as an application's handle table would.
BenchListener* ffi_listener = nullptr;

void ffi_on_event(std::uint64_t, CoreBuffer event, void*, CoreCallStatus*) {
  ffi_listener->on_event(ffi::lift<ScanEvent>(ffi::bytes_of(event)));
  CoreCallStatus status{};
  quelmaris_ffi_corebuffer_free(event, &status);
}

void run_through_ffi(const ScanConfig& config, BenchListener& listener) {
  static const ScanListenerVTable vtable{[](std::uint64_t) {}, [](std::uint64_t h) { return h; }, ffi_on_event};
  ffi_listener = &listener;
  CoreCallStatus status{};
  quelmaris_ffi_init_callback_vtable_scanlistener(&vtable);
  const std::uint64_t job = quelmaris_ffi_scanjob_new(&status);
  quelmaris_ffi_scanjob_run(job, ffi::lower(config), 1, &status);
  if (status.code != 0) std::cerr << "run failed with status " << int{status.code} << "\n";
}

long peak_rss_kib() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

[[noreturn]] void usage() {
  std::cerr << "usage: scan_bench [--content-only] [--no-verify] [--ignore-case] [--io N] [--min-size N] "
               "[--list FILE] ROOT...\n";
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  ScanConfig config = default_scan_config();
  std::string list_path;
  bool via_ffi = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto next = [&]() -> std::string { return ++i < argc ? argv[i] : (usage(), ""); };
    if (arg == "--content-only") config.mode = MatchMode::ContentOnly;
    else if (arg == "--no-verify") config.verify_content = false;
    else if (arg == "--ignore-case") config.ignore_case = true;
    else if (arg == "--io") config.io_parallelism = static_cast<std::uint32_t>(std::stoul(next()));
    else if (arg == "--min-size") config.min_size = std::stoull(next());
    else if (arg == "--list") list_path = next();
    else if (arg == "--via-ffi") via_ffi = true;
    else if (arg.starts_with("--")) usage();
    else config.roots.push_back(arg);
  }
  if (config.roots.empty()) usage();

  BenchListener listener(!list_path.empty());
  if (via_ffi) {
    run_through_ffi(config, listener);
  } else {
    ScanJob job;
    job.run(config, listener);
  }
  if (!listener.summary_) {
    std::cerr << "scan failed: " << listener.failure_.value_or("no summary") << "\n";
    return 1;
  }
  if (!list_path.empty()) {
    std::ofstream out(list_path);
    for (const auto& set : listener.sets_) {
      for (const auto& path : set) out << path << "\n";
      out << "\n";
    }
  }
  const ScanSummary& s = *listener.summary_;
  std::printf(
      "{\"files_seen\":%llu,\"files_compared\":%llu,\"sets\":%llu,\"lookalike_groups\":%llu,\"extra_copies\":%llu,"
      "\"reclaimable\":%llu,\"skipped\":%llu,\"hard_links_collapsed\":%llu,\"elapsed_ms\":%llu,\"hash_threads\":%u,"
      "\"peak_rss_kib\":%ld}\n",
      static_cast<unsigned long long>(s.files_seen), static_cast<unsigned long long>(s.files_compared),
      static_cast<unsigned long long>(s.sets), static_cast<unsigned long long>(s.lookalike_groups),
      static_cast<unsigned long long>(s.extra_copies), static_cast<unsigned long long>(s.reclaimable),
      static_cast<unsigned long long>(s.skipped), static_cast<unsigned long long>(s.hard_links_collapsed),
      static_cast<unsigned long long>(s.elapsed_ms), s.io_parallelism, peak_rss_kib());
  return 0;
}
