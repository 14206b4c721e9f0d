// BLAKE3 (unkeyed, 32-byte output) behind a small value type: feed chunks,
// finalise to the digest, print it as lower-case hex. One hasher per thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include <blake3.h>

namespace quelmaris {

using Digest = std::array<std::uint8_t, 32>;

class Blake3Hasher {
public:
  Blake3Hasher() { blake3_hasher_init(&state_); }
  void update(const void* data, std::size_t n) { blake3_hasher_update(&state_, data, n); }
  void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }
  Digest finalize() const {
    Digest d;
    blake3_hasher_finalize(&state_, d.data(), d.size());
    return d;
  }

private:
  blake3_hasher state_;
};

std::string to_hex(const Digest& digest);

}  // namespace quelmaris
