// Which copy of a set is suggested for keeping, under each keep rule. Pure:
// no file is touched, nothing is allocated; safe on any thread.
#pragma once

#include "records.hpp"

#include <compare>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace quelmaris {

// A fault of the core's own logic; the call interface reports it as an
// unexpected failure.
struct InternalError : std::logic_error {
  using std::logic_error::logic_error;
};

namespace keep {
std::weak_ordering keep_order(const FileEntry& a, const FileEntry& b, KeepRule rule);
}

// Throws InternalError("a set has at least one file") on an empty list.
std::uint32_t choose_keeper(std::span<const FileEntry> files, KeepRule rule);

}  // namespace quelmaris
