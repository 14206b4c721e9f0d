#include "interface/ValueForm.h"

#include "interface/UniffiInternalError.h"

namespace {

template <class E>
void writeTag(ByteWriter& out, E value) {
  out.writeI32(static_cast<std::int32_t>(value) + 1);
}

template <class Variant>
void writeTagOf(ByteWriter& out, const Variant& value) {
  out.writeI32(static_cast<std::int32_t>(value.index()) + 1);
}

// The case position (from 0) named by an i32 tag counted from 1.
std::int32_t readCase(ByteReader& in, std::int32_t caseCount) {
  const std::int32_t tag = in.readI32();
  if (tag < 1 || tag > caseCount) throw UniffiInternalError(UniffiInternalError::Case::unexpectedEnumCase);
  return tag - 1;
}

template <class E>
E readPlainEnum(ByteReader& in, std::int32_t caseCount) {
  return static_cast<E>(readCase(in, caseCount));
}

}  // namespace

// ---- writers ----

void write(ByteWriter& out, const QString& value) { out.writeText(value); }
void write(ByteWriter& out, std::uint32_t value) { out.writeU32(value); }
void write(ByteWriter& out, std::uint64_t value) { out.writeU64(value); }
void write(ByteWriter& out, std::int64_t value) { out.writeI64(value); }
void write(ByteWriter& out, MatchMode value) { writeTag(out, value); }
void write(ByteWriter& out, KeepRule value) { writeTag(out, value); }
void write(ByteWriter& out, Phase value) { writeTag(out, value); }
void write(ByteWriter& out, PlanSkipReason value) { writeTag(out, value); }
void write(ByteWriter& out, Identity value) { writeTag(out, value); }

void write(ByteWriter& out, const SkipReason& value) {
  writeTagOf(out, value.value);
  if (const auto* io = std::get_if<SkipReason::io>(&value.value)) out.writeI32(io->errnoValue);
}

void write(ByteWriter& out, const RootSkipReason& value) {
  writeTagOf(out, value.value);
  if (const auto* nested = std::get_if<RootSkipReason::nestedIn>(&value.value)) out.writeText(nested->root);
  if (const auto* same = std::get_if<RootSkipReason::duplicate>(&value.value)) out.writeText(same->root);
  if (const auto* unreadable = std::get_if<RootSkipReason::unreadable>(&value.value))
    out.writeI32(unreadable->errnoValue);
}

void write(ByteWriter& out, const InvariantViolation& value) {
  writeTagOf(out, value.value);
  std::visit([&](const auto& c) { out.writeU64(c.setId); }, value.value);
  if (const auto* range = std::get_if<InvariantViolation::IndexOutOfRange>(&value.value)) out.writeU32(range->index);
}

void write(ByteWriter& out, const ScanConfig& v) {
  write(out, v.roots);
  write(out, v.mode);
  out.writeBool(v.ignoreCase);
  out.writeBool(v.verifyContent);
  out.writeU64(v.minSize);
  out.writeBool(v.includeHidden);
  write(out, v.excludedNames);
  write(out, v.packageExtensions);
  out.writeU32(v.ioParallelism);
  write(out, v.keepRule);
}

void write(ByteWriter& out, const FileEntry& v) {
  out.writeText(v.path);
  out.writeText(v.name);
  out.writeU32(v.rootIndex);
  out.writeU64(v.size);
  write(out, v.createdNs);
  out.writeI64(v.modifiedNs);
  out.writeU64(v.dev);
  out.writeU64(v.ino);
  out.writeU32(v.nlink);
  write(out, v.cloneId);
  out.writeBool(v.mayShareBlocks);
  write(out, v.freedBytes);
}

void write(ByteWriter& out, const DuplicateSet& v) {
  out.writeU64(v.id);
  out.writeText(v.displayName);
  out.writeU64(v.size);
  write(out, v.files);
  out.writeU32(v.suggestedKeep);
  write(out, v.lookalikes);
  out.writeBool(v.verified);
  write(out, v.contentHash);
  out.writeU64(v.reclaimable);
  out.writeBool(v.reclaimableEstimated);
}

void write(ByteWriter& out, const LookalikeGroup& v) {
  out.writeU64(v.id);
  out.writeText(v.displayName);
  out.writeU64(v.size);
  write(out, v.files);
}

void write(ByteWriter& out, const SkippedItem& v) {
  out.writeText(v.path);
  write(out, v.reason);
}

void write(ByteWriter& out, const ScanSummary& v) {
  out.writeBool(v.cancelled);
  for (const std::uint64_t count :
       {v.filesSeen, v.filesCompared, v.sets, v.lookalikeGroups, v.extraCopies, v.reclaimable})
    out.writeU64(count);
  out.writeBool(v.reclaimableEstimated);
  for (const std::uint64_t count : {v.skipped, v.hardLinksCollapsed, v.elapsedMs}) out.writeU64(count);
  out.writeU32(v.ioParallelism);
}

void write(ByteWriter& out, const PlanSet& v) {
  out.writeU64(v.setId);
  write(out, v.files);
  out.writeU32(v.keeper);
  write(out, v.marked);
  out.writeBool(v.verified);
}

void write(ByteWriter& out, const PlannedMove& v) {
  out.writeU64(v.setId);
  write(out, v.file);
  out.writeText(v.keeperPath);
}

void write(ByteWriter& out, const PlanSkip& v) {
  out.writeU64(v.setId);
  out.writeText(v.path);
  write(out, v.reason);
}

void write(ByteWriter& out, const TrashPlan& v) {
  write(out, v.toMove);
  write(out, v.skipped);
}

namespace {

void writePayload(ByteWriter& out, const ScanEvent::phase& e) { write(out, e.phase); }
void writePayload(ByteWriter& out, const ScanEvent::progress& e) {
  out.writeU64(e.filesSeen);
  out.writeU64(e.bytesHashed);
  out.writeU64(e.bytesToHash);
}
void writePayload(ByteWriter& out, const ScanEvent::rootSkipped& e) {
  out.writeText(e.path);
  write(out, e.reason);
}
void writePayload(ByteWriter& out, const ScanEvent::skipped& e) { write(out, e.items); }
void writePayload(ByteWriter& out, const ScanEvent::setReady& e) { write(out, e.set); }
void writePayload(ByteWriter& out, const ScanEvent::lookalikeReady& e) { write(out, e.group); }
void writePayload(ByteWriter& out, const ScanEvent::finished& e) { write(out, e.summary); }
void writePayload(ByteWriter& out, const ScanEvent::failed& e) { out.writeText(e.error); }

}  // namespace

void write(ByteWriter& out, const ScanEvent& value) {
  writeTagOf(out, value.value);
  std::visit([&](const auto& payload) { writePayload(out, payload); }, value.value);
}

// ---- readers ----

bool readOptionalTag(ByteReader& in) {
  switch (in.readU8()) {
    case 0:
      return false;
    case 1:
      return true;
    default:
      throw UniffiInternalError(UniffiInternalError::Case::unexpectedOptionalTag);
  }
}

QString ValueForm<QString>::read(ByteReader& in) { return in.readText(); }
std::uint32_t ValueForm<std::uint32_t>::read(ByteReader& in) { return in.readU32(); }
std::uint64_t ValueForm<std::uint64_t>::read(ByteReader& in) { return in.readU64(); }
std::int64_t ValueForm<std::int64_t>::read(ByteReader& in) { return in.readI64(); }
MatchMode ValueForm<MatchMode>::read(ByteReader& in) { return readPlainEnum<MatchMode>(in, 2); }
KeepRule ValueForm<KeepRule>::read(ByteReader& in) { return readPlainEnum<KeepRule>(in, 4); }
Phase ValueForm<Phase>::read(ByteReader& in) { return readPlainEnum<Phase>(in, 4); }
PlanSkipReason ValueForm<PlanSkipReason>::read(ByteReader& in) { return readPlainEnum<PlanSkipReason>(in, 5); }
Identity ValueForm<Identity>::read(ByteReader& in) { return readPlainEnum<Identity>(in, 3); }

SkipReason ValueForm<SkipReason>::read(ByteReader& in) {
  switch (readCase(in, 5)) {
    case 0:
      return {SkipReason::dataless{}};
    case 1:
      return {SkipReason::permission{}};
    case 2:
      return {SkipReason::io{in.readI32()}};
    case 3:
      return {SkipReason::invalidName{}};
    default:
      return {SkipReason::changed{}};
  }
}

RootSkipReason ValueForm<RootSkipReason>::read(ByteReader& in) {
  switch (readCase(in, 5)) {
    case 0:
      return {RootSkipReason::nestedIn{in.readText()}};
    case 1:
      return {RootSkipReason::duplicate{in.readText()}};
    case 2:
      return {RootSkipReason::missing{}};
    case 3:
      return {RootSkipReason::notADirectory{}};
    default:
      return {RootSkipReason::unreadable{in.readI32()}};
  }
}

InvariantViolation ValueForm<InvariantViolation>::read(ByteReader& in) {
  const std::int32_t which = readCase(in, 5);
  const std::uint64_t setId = in.readU64();
  switch (which) {
    case 0:
      return {InvariantViolation::KeeperMarked{setId}};
    case 1:
      return {InvariantViolation::AllMarked{setId}};
    case 2:
      return {InvariantViolation::IndexOutOfRange{setId, in.readU32()}};
    case 3:
      return {InvariantViolation::SameInodeAsKeeper{setId}};
    default:
      return {InvariantViolation::TooSmall{setId}};
  }
}

// Braced initialisers evaluate in order, which is the byte order of the fields.
ScanConfig ValueForm<ScanConfig>::read(ByteReader& in) {
  return ScanConfig{::read<QList<QString>>(in),
                    ::read<MatchMode>(in),
                    in.readBool(),
                    in.readBool(),
                    in.readU64(),
                    in.readBool(),
                    ::read<QList<QString>>(in),
                    ::read<QList<QString>>(in),
                    in.readU32(),
                    ::read<KeepRule>(in)};
}

FileEntry ValueForm<FileEntry>::read(ByteReader& in) {
  return FileEntry{in.readText(),
                   in.readText(),
                   in.readU32(),
                   in.readU64(),
                   ::read<std::optional<std::int64_t>>(in),
                   in.readI64(),
                   in.readU64(),
                   in.readU64(),
                   in.readU32(),
                   ::read<std::optional<std::uint64_t>>(in),
                   in.readBool(),
                   ::read<std::optional<std::uint64_t>>(in)};
}

DuplicateSet ValueForm<DuplicateSet>::read(ByteReader& in) {
  return DuplicateSet{in.readU64(),  in.readText(),
                      in.readU64(),  ::read<QList<FileEntry>>(in),
                      in.readU32(),  ::read<QList<FileEntry>>(in),
                      in.readBool(), ::read<std::optional<QString>>(in),
                      in.readU64(),  in.readBool()};
}

LookalikeGroup ValueForm<LookalikeGroup>::read(ByteReader& in) {
  return LookalikeGroup{in.readU64(), in.readText(), in.readU64(), ::read<QList<FileEntry>>(in)};
}

SkippedItem ValueForm<SkippedItem>::read(ByteReader& in) { return SkippedItem{in.readText(), ::read<SkipReason>(in)}; }

ScanSummary ValueForm<ScanSummary>::read(ByteReader& in) {
  return ScanSummary{in.readBool(), in.readU64(),  in.readU64(), in.readU64(), in.readU64(), in.readU64(),
                     in.readU64(),  in.readBool(), in.readU64(), in.readU64(), in.readU64(), in.readU32()};
}

PlanSet ValueForm<PlanSet>::read(ByteReader& in) {
  return PlanSet{in.readU64(), ::read<QList<FileEntry>>(in), in.readU32(), ::read<QList<std::uint32_t>>(in),
                 in.readBool()};
}

PlannedMove ValueForm<PlannedMove>::read(ByteReader& in) {
  return PlannedMove{in.readU64(), ::read<FileEntry>(in), in.readText()};
}

PlanSkip ValueForm<PlanSkip>::read(ByteReader& in) {
  return PlanSkip{in.readU64(), in.readText(), ::read<PlanSkipReason>(in)};
}

TrashPlan ValueForm<TrashPlan>::read(ByteReader& in) {
  return TrashPlan{::read<QList<PlannedMove>>(in), ::read<QList<PlanSkip>>(in)};
}

ScanEvent ValueForm<ScanEvent>::read(ByteReader& in) {
  switch (readCase(in, 8)) {
    case 0:
      return {ScanEvent::phase{::read<Phase>(in)}};
    case 1:
      return {ScanEvent::progress{in.readU64(), in.readU64(), in.readU64()}};
    case 2:
      return {ScanEvent::rootSkipped{in.readText(), ::read<RootSkipReason>(in)}};
    case 3:
      return {ScanEvent::skipped{::read<QList<SkippedItem>>(in)}};
    case 4:
      return {ScanEvent::setReady{::read<DuplicateSet>(in)}};
    case 5:
      return {ScanEvent::lookalikeReady{::read<LookalikeGroup>(in)}};
    case 6:
      return {ScanEvent::finished{::read<ScanSummary>(in)}};
    default:
      return {ScanEvent::failed{in.readText()}};
  }
}
