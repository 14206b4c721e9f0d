// One report of a running scan, as the application receives it. The cases are
// in the core's declaration order, so that variant::index() + 1 is the tag.
#pragma once

#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <variant>

#include "interface/InterfaceEnums.h"
#include "interface/InterfaceRecords.h"

struct ScanEvent {
  struct phase {
    Phase phase;
    bool operator==(const struct phase&) const = default;
  };
  struct progress {
    std::uint64_t filesSeen;
    std::uint64_t bytesHashed;
    std::uint64_t bytesToHash;
    bool operator==(const progress&) const = default;
  };
  struct rootSkipped {
    QString path;
    RootSkipReason reason;
    friend bool operator==(const rootSkipped& a, const rootSkipped& b) {
      return sameText(a.path, b.path) && a.reason == b.reason;
    }
  };
  struct skipped {
    QList<SkippedItem> items;
    bool operator==(const skipped&) const = default;
  };
  struct setReady {
    DuplicateSet set;
    bool operator==(const setReady&) const = default;
  };
  struct lookalikeReady {
    LookalikeGroup group;
    bool operator==(const lookalikeReady&) const = default;
  };
  struct finished {
    ScanSummary summary;
    bool operator==(const finished&) const = default;
  };
  struct failed {
    QString error;
    friend bool operator==(const failed& a, const failed& b) { return sameText(a.error, b.error); }
  };
  std::variant<phase, progress, rootSkipped, skipped, setReady, lookalikeReady, finished, failed> value;
  bool operator==(const ScanEvent&) const = default;
};

void feedHash(HashFeed& feed, const ScanEvent& event);
std::size_t qHash(const ScanEvent& value, std::size_t seed = 0);
