// Equality and hashing shared by the interface's records and enums. Text
// compares by Unicode canonical equivalence (as NFC), so a name spelled with a
// combining accent equals the same name precomposed; hashing feeds the NFC
// form so that it stays consistent with that equality.
#pragma once

#include <QList>
#include <QString>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <type_traits>

bool sameText(const QString& a, const QString& b);
bool sameText(const QList<QString>& a, const QList<QString>& b);
bool sameText(const std::optional<QString>& a, const std::optional<QString>& b);

// Feeds values into a hash in order: a record feeds its fields in declaration
// order, an optional a presence marker and then its value, a list its count and
// then its elements, an enum its case position and then its payload.
class HashFeed {
 public:
  explicit HashFeed(std::size_t seed) : hash_(seed) {}

  HashFeed& add(std::uint64_t value);
  HashFeed& add(std::int64_t value) { return add(static_cast<std::uint64_t>(value)); }
  HashFeed& add(std::uint32_t value) { return add(static_cast<std::uint64_t>(value)); }
  HashFeed& add(std::int32_t value) { return add(static_cast<std::uint64_t>(static_cast<std::int64_t>(value))); }
  HashFeed& add(bool value) { return add(static_cast<std::uint64_t>(value ? 1 : 0)); }
  HashFeed& add(const QString& text);

  template <class E>
  requires std::is_enum_v<E> HashFeed& add(E value) { return add(static_cast<std::uint64_t>(value)); }

  template <class T>
  HashFeed& add(const std::optional<T>& value) {
    add(value.has_value());
    if (value) add(*value);
    return *this;
  }

  template <class T>
  HashFeed& add(const QList<T>& list) {
    add(static_cast<std::uint64_t>(list.size()));
    for (const T& element : list) add(element);
    return *this;
  }

  // Records and enums with payloads provide feedHash(HashFeed&, const T&).
  template <class T>
  requires requires(HashFeed& feed, const T& value) { feedHash(feed, value); }
  HashFeed& add(const T& value) {
    feedHash(*this, value);
    return *this;
  }

  std::size_t value() const { return hash_; }

 private:
  std::size_t hash_;
};
