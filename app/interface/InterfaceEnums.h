// The application's mirrors of the enums that cross the call interface. Case
// order is binding: it gives each case its serialised tag (1 for the first).
// Cases are lowerCamelCase, except InvariantViolation's, which keep the
// core's names. Enums with payloads are a variant of one struct per case, in
// declaration order, so that variant::index() is the case's position. The
// error-number payload is errnoValue: `errno` is a macro in C.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <variant>

#include "interface/ValueSemantics.h"

enum class MatchMode : std::uint8_t { nameAndSize, contentOnly };
enum class KeepRule : std::uint8_t { folderPriority, oldest, newest, shortestPath };
enum class Phase : std::uint8_t { listing, grouping, verifying, done };
enum class PlanSkipReason : std::uint8_t { missing, changed, keeperMissing, keeperChanged, unverified };
enum class Identity : std::uint8_t { same, missing, changed };

struct SkipReason {
  struct dataless {
    bool operator==(const dataless&) const = default;
  };
  struct permission {
    bool operator==(const permission&) const = default;
  };
  struct io {
    std::int32_t errnoValue;
    bool operator==(const io&) const = default;
  };
  struct invalidName {
    bool operator==(const invalidName&) const = default;
  };
  struct changed {
    bool operator==(const changed&) const = default;
  };
  std::variant<dataless, permission, io, invalidName, changed> value;
  bool operator==(const SkipReason&) const = default;
};

struct RootSkipReason {
  struct nestedIn {
    QString root;
    friend bool operator==(const nestedIn& a, const nestedIn& b) { return sameText(a.root, b.root); }
  };
  struct duplicate {
    QString root;
    friend bool operator==(const duplicate& a, const duplicate& b) { return sameText(a.root, b.root); }
  };
  struct missing {
    bool operator==(const missing&) const = default;
  };
  struct notADirectory {
    bool operator==(const notADirectory&) const = default;
  };
  struct unreadable {
    std::int32_t errnoValue;
    bool operator==(const unreadable&) const = default;
  };
  std::variant<nestedIn, duplicate, missing, notADirectory, unreadable> value;
  bool operator==(const RootSkipReason&) const = default;
};

// A marking that could lose the last copy of a file; thrown by the trash
// planner, which refuses the whole request.
struct InvariantViolation {
  struct KeeperMarked {
    std::uint64_t setId;
    bool operator==(const KeeperMarked&) const = default;
  };
  struct AllMarked {
    std::uint64_t setId;
    bool operator==(const AllMarked&) const = default;
  };
  struct IndexOutOfRange {
    std::uint64_t setId;
    std::uint32_t index;
    bool operator==(const IndexOutOfRange&) const = default;
  };
  struct SameInodeAsKeeper {
    std::uint64_t setId;
    bool operator==(const SameInodeAsKeeper&) const = default;
  };
  struct TooSmall {
    std::uint64_t setId;
    bool operator==(const TooSmall&) const = default;
  };
  std::variant<KeeperMarked, AllMarked, IndexOutOfRange, SameInodeAsKeeper, TooSmall> value;
  bool operator==(const InvariantViolation&) const = default;

  // The value's debug text, e.g. "Quelmaris.InvariantViolation.TooSmall(setId: 7)".
  QString errorDescription() const;
};

void feedHash(HashFeed& feed, const SkipReason& reason);
void feedHash(HashFeed& feed, const RootSkipReason& reason);
void feedHash(HashFeed& feed, const InvariantViolation& violation);

std::size_t qHash(MatchMode value, std::size_t seed = 0);
std::size_t qHash(KeepRule value, std::size_t seed = 0);
std::size_t qHash(Phase value, std::size_t seed = 0);
std::size_t qHash(PlanSkipReason value, std::size_t seed = 0);
std::size_t qHash(Identity value, std::size_t seed = 0);
std::size_t qHash(const SkipReason& value, std::size_t seed = 0);
std::size_t qHash(const RootSkipReason& value, std::size_t seed = 0);
std::size_t qHash(const InvariantViolation& value, std::size_t seed = 0);
