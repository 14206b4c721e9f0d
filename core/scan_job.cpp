#include "scan_job.hpp"

#include "group.hpp"
#include "home_trash.hpp"
#include "pools.hpp"
#include "progress.hpp"
#include "roots.hpp"
#include "text.hpp"
#include "verify.hpp"
#include "walk.hpp"

#include <tbb/parallel_for.h>

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

namespace quelmaris {

namespace {

using Clock = std::chrono::steady_clock;

struct Pools {
  std::unique_ptr<ScanPool> walk;
  std::unique_ptr<ScanPool> hash;
};

std::uint32_t online_processors() {
  const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
  return n > 0 ? static_cast<std::uint32_t>(n) : 1;
}

// Both pools are built before either result is looked at; the walk pool's
// error is the one reported when both fail.
Result<Pools, std::string> build_pools(const std::vector<WalkRoot>& roots, std::uint32_t io_parallelism) {
  std::vector<MediumKind> media;
  media.reserve(roots.size());
  for (const auto& root : roots) media.push_back(storage_medium(root.path));
  const WorkerCounts counts = worker_counts(online_processors(), media, io_parallelism);
  auto walk = ScanPool::build(counts.walk);
  auto hash = ScanPool::build(counts.hash);
  if (!walk) return Failure{walk.error()};
  if (!hash) return Failure{hash.error()};
  return Pools{std::move(walk).value(), std::move(hash).value()};
}

// Read once per scan. Followed like any path: the walk meets the folder a
// link leads to, never the link.
std::optional<DevIno> home_trash() {
  const auto path = home_trash_path();
  struct stat st;
  if (!path || ::stat(path->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  return DevIno{device_id(st.st_dev), st.st_ino};
}

WalkSettings walk_settings(const ScanConfig& config) {
  WalkSettings settings{config.excluded_names, {}, config.include_hidden, std::max<std::uint64_t>(config.min_size, 1),
                        home_trash()};
  settings.package_extensions.reserve(config.package_extensions.size());
  for (const auto& extension : config.package_extensions) {
    const auto start = extension.find_first_not_of('.');
    const std::string_view bare = start == std::string::npos ? std::string_view() : std::string_view(extension).substr(start);
    settings.package_extensions.push_back(text::is_valid_utf8(bare) ? text::to_lower(bare) : std::string(bare));
  }
  return settings;
}

std::uint64_t sum_sizes(const std::vector<CandidateGroup>& groups) {
  std::uint64_t total = 0;
  for (const auto& group : groups) total += group.size * group.files.size();
  return total;
}

std::uint64_t elapsed_ms(Clock::time_point start) {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// One run of a scan, in the order of its stages.
class ScanRun {
public:
  ScanRun(const ScanConfig& config, ScanListener& listener, const CancelFlag& cancel)
      : config_(config), listener_(listener), cancel_(cancel), reporter_(listener) {}

  void run() {
    send(ScanEvent::Phase{Phase::Listing});
    auto roots = roots::check_roots(config_.roots);
    for (auto& skip : roots.skips) send(ScanEvent::RootSkipped{std::move(skip.root), std::move(skip.reason)});
    if (roots.walk_roots.empty()) return send(ScanEvent::Failed{"no folder could be scanned"});

    auto pools = build_pools(roots.walk_roots, config_.io_parallelism);
    if (!pools) return send(ScanEvent::Failed{pools.error()});
    pools_ = std::move(pools).value();

    std::vector<WalkedFile> walked;
    pools_.walk->execute([&] {
      walked = walk::walk_root(roots.walk_roots, roots.nested, walk_settings(config_), reporter_, cancel_);
    });
    reporter_.flush(true);

    if (!is_cancelled(cancel_)) {
      files_compared_ = walked.size();
      send(ScanEvent::Phase{Phase::Grouping});
      compare(group_candidates(std::move(walked)));
    }
    finish();
  }

private:
  std::vector<CandidateGroup> group_candidates(std::vector<WalkedFile> walked) {
    group::GroupingMap map(std::move(walked), config_.mode, config_.ignore_case);
    auto groups = group::candidate_groups(std::move(map), hard_links_collapsed_);
    group::sort_candidate_group_order(groups);
    return groups;
  }

  void compare(std::vector<CandidateGroup> groups) {
    if (config_.verify_content || config_.mode == MatchMode::ContentOnly) {
      send(ScanEvent::Phase{Phase::Verifying});
      reporter_.bytes_to_hash.store(sum_sizes(groups), std::memory_order_relaxed);
      reporter_.flush(true);
      const VerifyContext context{cancel_, config_.mode, config_.keep_rule, reporter_, listener_, results_};
      in_hash_pool(groups, [&](CandidateGroup& group) { group::verify_group(group, context); });
    } else {
      in_hash_pool(groups, [&](CandidateGroup& group) {
        ScanEvent event{
            ScanEvent::SetReady{group::build_set(group.key(), group.files, std::nullopt, {}, config_.keep_rule)}};
        listener_.on_event(event);
        results_.add(std::get<ScanEvent::SetReady>(event.value).set);
      });
    }
  }

  // Groups are taken in their order, largest files first; with one hash
  // thread that is strictly the processing order.
  template <class Fn>
  void in_hash_pool(std::vector<CandidateGroup>& groups, Fn each) {
    pools_.hash->execute([&] {
      tbb::parallel_for(
          tbb::blocked_range<std::size_t>(0, groups.size(), 1),
          [&](const tbb::blocked_range<std::size_t>& range) {
            for (auto i = range.begin(); i != range.end(); ++i) each(groups[i]);
          },
          tbb::simple_partitioner());
    });
  }

  void finish() {
    const bool cancelled = is_cancelled(cancel_);
    if (!cancelled) send(ScanEvent::Phase{Phase::Done});
    reporter_.flush(true);
    const auto totals = results_.totals();
    send(ScanEvent::Finished{ScanSummary{cancelled, reporter_.files_seen.load(std::memory_order_relaxed),
                                         files_compared_, totals.sets, totals.lookalike_groups, totals.extra_copies,
                                         totals.reclaimable, totals.reclaimable_estimated, reporter_.skipped_count(),
                                         hard_links_collapsed_, elapsed_ms(start_), pools_.hash->threads()}});
  }

  template <class Event>
  void send(Event event) {
    listener_.on_event(ScanEvent{std::move(event)});
  }

  const Clock::time_point start_ = Clock::now();
  const ScanConfig& config_;
  ScanListener& listener_;
  const CancelFlag& cancel_;
  ProgressReporter reporter_;
  Pools pools_;
  ScanResults results_;
  std::uint64_t files_compared_ = 0;
  std::uint64_t hard_links_collapsed_ = 0;
};

}  // namespace

void ScanJob::run(const ScanConfig& config, ScanListener& listener) { ScanRun(config, listener, cancelled_).run(); }

}  // namespace quelmaris
