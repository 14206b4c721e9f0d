// The values that cross between the scanning core and the application: the
// settings of a scan, what it reports, and the request and answer of a move
// to the Trash. Plain values: every field public, equality field by field in
// declaration order, hashing (hash_append) consistent with that equality.
// Enum cases keep their declaration order; it is their serialised tag order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quelmaris {

enum class MatchMode : std::uint8_t { NameAndSize, ContentOnly };
enum class KeepRule : std::uint8_t { FolderPriority, Oldest, Newest, ShortestPath };
enum class Phase : std::uint8_t { Listing, Grouping, Verifying, Done };
enum class PlanSkipReason : std::uint8_t { Missing, Changed, KeeperMissing, KeeperChanged, Unverified };
enum class Identity : std::uint8_t { Same, Missing, Changed };

// Enums whose cases carry payloads are a variant of one struct per case, in
// declaration order, so that variant::index() is the case's position. The
// error-number payload is called errno_value: `errno` is a macro in C.
struct SkipReason {
  struct Dataless { bool operator==(const Dataless&) const = default; };
  struct Permission { bool operator==(const Permission&) const = default; };
  struct Io { std::int32_t errno_value; bool operator==(const Io&) const = default; };
  struct InvalidName { bool operator==(const InvalidName&) const = default; };
  struct Changed { bool operator==(const Changed&) const = default; };
  std::variant<Dataless, Permission, Io, InvalidName, Changed> value;
  bool operator==(const SkipReason&) const = default;
};

struct RootSkipReason {
  struct NestedIn { std::string root; bool operator==(const NestedIn&) const = default; };
  struct Duplicate { std::string root; bool operator==(const Duplicate&) const = default; };
  struct Missing { bool operator==(const Missing&) const = default; };
  struct NotADirectory { bool operator==(const NotADirectory&) const = default; };
  struct Unreadable { std::int32_t errno_value; bool operator==(const Unreadable&) const = default; };
  std::variant<NestedIn, Duplicate, Missing, NotADirectory, Unreadable> value;
  bool operator==(const RootSkipReason&) const = default;
};

struct InvariantViolation {
  struct KeeperMarked { std::uint64_t set_id; bool operator==(const KeeperMarked&) const = default; };
  struct AllMarked { std::uint64_t set_id; bool operator==(const AllMarked&) const = default; };
  struct IndexOutOfRange {
    std::uint64_t set_id;
    std::uint32_t index;
    bool operator==(const IndexOutOfRange&) const = default;
  };
  struct SameInodeAsKeeper { std::uint64_t set_id; bool operator==(const SameInodeAsKeeper&) const = default; };
  struct TooSmall { std::uint64_t set_id; bool operator==(const TooSmall&) const = default; };
  std::variant<KeeperMarked, AllMarked, IndexOutOfRange, SameInodeAsKeeper, TooSmall> value;
  bool operator==(const InvariantViolation&) const = default;
};

struct ScanConfig {
  std::vector<std::string> roots;
  MatchMode mode;
  bool ignore_case;
  bool verify_content;
  std::uint64_t min_size;
  bool include_hidden;
  std::vector<std::string> excluded_names;
  std::vector<std::string> package_extensions;
  std::uint32_t io_parallelism;
  KeepRule keep_rule;
  bool operator==(const ScanConfig&) const = default;
};

struct FileEntry {
  std::string path;
  std::string name;
  std::uint32_t root_index;
  std::uint64_t size;
  std::optional<std::int64_t> created_ns;
  std::int64_t modified_ns;
  std::uint64_t dev;
  std::uint64_t ino;
  std::uint32_t nlink;
  std::optional<std::uint64_t> clone_id;
  bool may_share_blocks;
  std::optional<std::uint64_t> freed_bytes;
  bool operator==(const FileEntry&) const = default;
};

struct DuplicateSet {
  std::uint64_t id;
  std::string display_name;
  std::uint64_t size;
  std::vector<FileEntry> files;
  std::uint32_t suggested_keep;
  std::vector<FileEntry> lookalikes;
  bool verified;
  std::optional<std::string> content_hash;
  std::uint64_t reclaimable;
  bool reclaimable_estimated;
  bool operator==(const DuplicateSet&) const = default;
};

struct LookalikeGroup {
  std::uint64_t id;
  std::string display_name;
  std::uint64_t size;
  std::vector<FileEntry> files;
  bool operator==(const LookalikeGroup&) const = default;
};

struct SkippedItem {
  std::string path;
  SkipReason reason;
  bool operator==(const SkippedItem&) const = default;
};

struct ScanSummary {
  bool cancelled;
  std::uint64_t files_seen;
  std::uint64_t files_compared;
  std::uint64_t sets;
  std::uint64_t lookalike_groups;
  std::uint64_t extra_copies;
  std::uint64_t reclaimable;
  bool reclaimable_estimated;
  std::uint64_t skipped;
  std::uint64_t hard_links_collapsed;
  std::uint64_t elapsed_ms;
  std::uint32_t io_parallelism;
  bool operator==(const ScanSummary&) const = default;
};

struct PlanSet {
  std::uint64_t set_id;
  std::vector<FileEntry> files;
  std::uint32_t keeper;
  std::vector<std::uint32_t> marked;
  bool verified;
  bool operator==(const PlanSet&) const = default;
};

struct PlannedMove {
  std::uint64_t set_id;
  FileEntry file;
  std::string keeper_path;
  bool operator==(const PlannedMove&) const = default;
};

struct PlanSkip {
  std::uint64_t set_id;
  std::string path;
  PlanSkipReason reason;
  bool operator==(const PlanSkip&) const = default;
};

struct TrashPlan {
  std::vector<PlannedMove> to_move;
  std::vector<PlanSkip> skipped;
  bool operator==(const TrashPlan&) const = default;
};

struct ScanEvent {
  struct Phase { quelmaris::Phase phase; bool operator==(const Phase&) const = default; };
  struct Progress {
    std::uint64_t files_seen;
    std::uint64_t bytes_hashed;
    std::uint64_t bytes_to_hash;
    bool operator==(const Progress&) const = default;
  };
  struct RootSkipped {
    std::string path;
    RootSkipReason reason;
    bool operator==(const RootSkipped&) const = default;
  };
  struct Skipped { std::vector<SkippedItem> items; bool operator==(const Skipped&) const = default; };
  struct SetReady { DuplicateSet set; bool operator==(const SetReady&) const = default; };
  struct LookalikeReady { LookalikeGroup group; bool operator==(const LookalikeReady&) const = default; };
  struct Finished { ScanSummary summary; bool operator==(const Finished&) const = default; };
  struct Failed { std::string error; bool operator==(const Failed&) const = default; };
  std::variant<Phase, Progress, RootSkipped, Skipped, SetReady, LookalikeReady, Finished, Failed> value;
  bool operator==(const ScanEvent&) const = default;
};

}  // namespace quelmaris
