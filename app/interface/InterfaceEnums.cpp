#include "interface/InterfaceEnums.h"

#include <array>

namespace {

template <class T>
std::size_t hashOf(const T& value, std::size_t seed) {
  return HashFeed(seed).add(value).value();
}

}  // namespace

QString InvariantViolation::errorDescription() const {
  static constexpr std::array<const char*, 5> names = {"KeeperMarked", "AllMarked", "IndexOutOfRange",
                                                       "SameInodeAsKeeper", "TooSmall"};
  QString payload;
  std::visit([&](const auto& c) { payload = QStringLiteral("setId: %1").arg(c.setId); }, value);
  if (const auto* range = std::get_if<IndexOutOfRange>(&value))
    payload += QStringLiteral(", index: %1").arg(range->index);
  return QStringLiteral("Quelmaris.InvariantViolation.%1(%2)").arg(QLatin1String(names[value.index()]), payload);
}

void feedHash(HashFeed& feed, const SkipReason& reason) {
  feed.add(static_cast<std::uint64_t>(reason.value.index()));
  if (const auto* io = std::get_if<SkipReason::io>(&reason.value)) feed.add(io->errnoValue);
}

void feedHash(HashFeed& feed, const RootSkipReason& reason) {
  feed.add(static_cast<std::uint64_t>(reason.value.index()));
  std::visit(
      [&](const auto& c) {
        using Case = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<Case, RootSkipReason::nestedIn> || std::is_same_v<Case, RootSkipReason::duplicate>)
          feed.add(c.root);
        else if constexpr (std::is_same_v<Case, RootSkipReason::unreadable>)
          feed.add(c.errnoValue);
      },
      reason.value);
}

void feedHash(HashFeed& feed, const InvariantViolation& violation) {
  feed.add(static_cast<std::uint64_t>(violation.value.index()));
  std::visit([&](const auto& c) { feed.add(c.setId); }, violation.value);
  if (const auto* range = std::get_if<InvariantViolation::IndexOutOfRange>(&violation.value)) feed.add(range->index);
}

std::size_t qHash(MatchMode value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(KeepRule value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(Phase value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(PlanSkipReason value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(Identity value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const SkipReason& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const RootSkipReason& value, std::size_t seed) { return hashOf(value, seed); }
std::size_t qHash(const InvariantViolation& value, std::size_t seed) { return hashOf(value, seed); }
