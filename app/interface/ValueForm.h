// The byte form of every interface record, enum and event: write appends a
// value, read<T> consumes one (raising UniffiInternalError on bytes that do
// not form a value). Sequences and optionals follow their elements' form.
#pragma once

#include <QList>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "interface/ByteReader.h"
#include "interface/ByteWriter.h"
#include "interface/InterfaceEnums.h"
#include "interface/InterfaceRecords.h"
#include "interface/ScanEvent.h"

void write(ByteWriter& out, const QString& value);
void write(ByteWriter& out, std::uint32_t value);
void write(ByteWriter& out, std::uint64_t value);
void write(ByteWriter& out, std::int64_t value);
void write(ByteWriter& out, MatchMode value);
void write(ByteWriter& out, KeepRule value);
void write(ByteWriter& out, Phase value);
void write(ByteWriter& out, PlanSkipReason value);
void write(ByteWriter& out, Identity value);
void write(ByteWriter& out, const SkipReason& value);
void write(ByteWriter& out, const RootSkipReason& value);
void write(ByteWriter& out, const InvariantViolation& value);
void write(ByteWriter& out, const ScanConfig& value);
void write(ByteWriter& out, const FileEntry& value);
void write(ByteWriter& out, const DuplicateSet& value);
void write(ByteWriter& out, const LookalikeGroup& value);
void write(ByteWriter& out, const SkippedItem& value);
void write(ByteWriter& out, const ScanSummary& value);
void write(ByteWriter& out, const PlanSet& value);
void write(ByteWriter& out, const PlannedMove& value);
void write(ByteWriter& out, const PlanSkip& value);
void write(ByteWriter& out, const TrashPlan& value);
void write(ByteWriter& out, const ScanEvent& value);

template <class T>
void write(ByteWriter& out, const QList<T>& list) {
  out.writeLength(list.size());
  for (const T& element : list) write(out, element);
}

template <class T>
void write(ByteWriter& out, const std::optional<T>& value) {
  out.writeBool(value.has_value());
  if (value) write(out, *value);
}

template <class T>
struct ValueForm;  // specialised below for every readable type

template <class T>
T read(ByteReader& in) {
  return ValueForm<T>::read(in);
}

template <class T>
struct ValueForm<QList<T>> {
  static QList<T> read(ByteReader& in) {
    const std::int32_t count = in.readCount();
    QList<T> list;
    // Every element takes at least one byte, so a count beyond the bytes left
    // is bound to fail: reserve no more than could be read.
    list.reserve(static_cast<qsizetype>(std::min<std::size_t>(static_cast<std::size_t>(count), in.remaining())));
    for (std::int32_t i = 0; i < count; ++i) list.append(::read<T>(in));
    return list;
  }
};

template <class T>
struct ValueForm<std::optional<T>> {
  static std::optional<T> read(ByteReader& in);
};

// Reads the tag byte of an optional: true when a value follows.
bool readOptionalTag(ByteReader& in);

template <class T>
std::optional<T> ValueForm<std::optional<T>>::read(ByteReader& in) {
  if (!readOptionalTag(in)) return std::nullopt;
  return ::read<T>(in);
}

#define QUELMARIS_VALUE_FORM(Type)    \
  template <>                         \
  struct ValueForm<Type> {            \
    static Type read(ByteReader& in); \
  }

QUELMARIS_VALUE_FORM(QString);
QUELMARIS_VALUE_FORM(std::uint32_t);
QUELMARIS_VALUE_FORM(std::uint64_t);
QUELMARIS_VALUE_FORM(std::int64_t);
QUELMARIS_VALUE_FORM(MatchMode);
QUELMARIS_VALUE_FORM(KeepRule);
QUELMARIS_VALUE_FORM(Phase);
QUELMARIS_VALUE_FORM(PlanSkipReason);
QUELMARIS_VALUE_FORM(Identity);
QUELMARIS_VALUE_FORM(SkipReason);
QUELMARIS_VALUE_FORM(RootSkipReason);
QUELMARIS_VALUE_FORM(InvariantViolation);
QUELMARIS_VALUE_FORM(ScanConfig);
QUELMARIS_VALUE_FORM(FileEntry);
QUELMARIS_VALUE_FORM(DuplicateSet);
QUELMARIS_VALUE_FORM(LookalikeGroup);
QUELMARIS_VALUE_FORM(SkippedItem);
QUELMARIS_VALUE_FORM(ScanSummary);
QUELMARIS_VALUE_FORM(PlanSet);
QUELMARIS_VALUE_FORM(PlannedMove);
QUELMARIS_VALUE_FORM(PlanSkip);
QUELMARIS_VALUE_FORM(TrashPlan);
QUELMARIS_VALUE_FORM(ScanEvent);

#undef QUELMARIS_VALUE_FORM
