// The marked copies of one duplicate set: distinct file indices kept in
// ascending order in one small buffer, so that visiting them costs what they
// number (a hash set would walk its empty buckets too) and they come out
// ready for the trash plan.
#pragma once

#include <QList>
#include <algorithm>
#include <cstdint>
#include <initializer_list>

class IndexSet {
 public:
  using const_iterator = QList<std::int64_t>::const_iterator;

  IndexSet() = default;
  IndexSet(std::initializer_list<std::int64_t> indices) {
    for (const std::int64_t index : indices) insert(index);
  }

  bool contains(std::int64_t index) const { return std::binary_search(indices_.cbegin(), indices_.cend(), index); }

  void insert(std::int64_t index) {
    const auto at = std::lower_bound(indices_.cbegin(), indices_.cend(), index);
    if (at == indices_.cend() || *at != index) indices_.insert(at, index);
  }

  void remove(std::int64_t index) {
    const auto at = std::lower_bound(indices_.cbegin(), indices_.cend(), index);
    if (at != indices_.cend() && *at == index) indices_.erase(at);
  }

  bool isEmpty() const { return indices_.isEmpty(); }
  qsizetype size() const { return indices_.size(); }
  const_iterator begin() const { return indices_.cbegin(); }
  const_iterator end() const { return indices_.cend(); }

  bool operator==(const IndexSet&) const = default;

 private:
  QList<std::int64_t> indices_;
};
