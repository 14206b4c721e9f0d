// Content hashing on hash-pool threads: open a file only when it is still the
// file the walk saw, hash it whole, or hash a sample of its first and last
// 64 KiB. Each call owns its file; a problem is a HashError, never a throw.
#pragma once

#include "blake3_hasher.hpp"
#include "result.hpp"
#include "scan_listener.hpp"
#include "unique_fd.hpp"
#include "walk.hpp"

#include <cstdint>
#include <functional>

namespace quelmaris {

struct HashError {
  enum class Kind : std::uint8_t { Io, Changed, Cancelled };
  Kind kind;
  int error_number = 0;  // for Io: the errno, 0 when the failure carries none
  bool operator==(const HashError&) const = default;
};

namespace hash {

inline constexpr std::uint64_t kSampleThreshold = 131'072;
inline constexpr std::uint64_t kSampleChunk = 65'536;
inline constexpr std::uint64_t kFullBuffer = 1'048'576;

using ProgressFn = std::function<void(std::uint64_t)>;

Result<UniqueFd, HashError> open_checked(const WalkedFile& file);
Result<Digest, HashError> hash_full(const WalkedFile& file, const CancelFlag& cancel, const ProgressFn& progress);
Result<Digest, HashError> hash_sample(const WalkedFile& file, const CancelFlag& cancel);

namespace detail {

// Runs between the two chunks of every sampled file, with its open
// descriptor: the point where tests change the file, make its next read fail
// or cancel the scan. Empty in production; set it only while nothing hashes.
using BetweenSampleChunks = std::function<void(const WalkedFile&, int fd)>;
void set_between_sample_chunks(BetweenSampleChunks hook);

}  // namespace detail

}  // namespace hash
}  // namespace quelmaris
