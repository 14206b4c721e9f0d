// One row of the results table: a duplicate set's header, one of its copies,
// a lookalike file (under a set or a lookalike group) or a lookalike group's
// header. A row points into the store's lists and is valid only until they
// next change; its identity text and its six sort keys are read from there.
#pragma once

#include <QString>
#include <cstdint>

#include "interface/InterfaceRecords.h"

// The table's sort keys, in the order of its columns.
enum class SortKey : std::uint8_t { name, copies, size, recoverable, created, modified };

struct SortComparator {
  SortKey key;
  Qt::SortOrder order;
  bool operator==(const SortComparator&) const = default;
};

// Seconds since 1970 of the dates of a set or group without files.
inline constexpr double distantPast = -62135596800.0;

struct ResultRow {
  enum class Kind : std::uint8_t { set, file, lookalike, lookalikeGroup };

  static ResultRow ofSet(const DuplicateSet& set) { return {Kind::set, &set, nullptr, 0}; }
  static ResultRow ofFile(const DuplicateSet& set, qsizetype index) { return {Kind::file, &set, nullptr, index}; }
  // The index-th of the set's lookalikes.
  static ResultRow ofLookalike(const DuplicateSet& set, qsizetype index) {
    return {Kind::lookalike, &set, nullptr, index};
  }
  // The index-th file of the group.
  static ResultRow ofLookalike(const LookalikeGroup& group, qsizetype index) {
    return {Kind::lookalike, nullptr, &group, index};
  }
  static ResultRow ofGroup(const LookalikeGroup& group) { return {Kind::lookalikeGroup, nullptr, &group, 0}; }

  Kind kind;
  const DuplicateSet* set;
  const LookalikeGroup* group;
  qsizetype index;

  // The file of a copy or lookalike row; none for a header.
  const FileEntry* file() const;
  // "s42", "f42//a/x.jpg", "l7//a/x.jpg", "g7".
  QString id() const;

  QString name() const;
  std::uint64_t size() const;
  qsizetype copies() const;
  std::uint64_t recoverable() const;
  // Seconds since 1970.
  double created() const;
  double modified() const;
};

// A file's creation time, its modification time when none was recorded.
double createdSeconds(const FileEntry& file);
double modifiedSeconds(const FileEntry& file);
// Earliest creation and latest modification over a list of files.
double earliestCreated(const QList<FileEntry>& files);
double latestModified(const QList<FileEntry>& files);

// The identity texts of rows, built without a row.
QString setRowId(std::uint64_t setId);
QString fileRowId(std::uint64_t setId, const QString& path);
QString lookalikeRowId(std::uint64_t groupId, const QString& path);
QString groupRowId(std::uint64_t groupId);
