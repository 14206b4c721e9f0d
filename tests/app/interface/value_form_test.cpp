#include <gtest/gtest.h>

#include <QByteArray>
#include <QSet>
#include <string>
#include <vector>

#include "app_test_support.hpp"
#include "interface/InterfaceRecords.h"
#include "interface/ScanEvent.h"
#include "interface/UniffiInternalError.h"
#include "interface/ValueForm.h"

namespace {

QByteArray bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (const int value : values) out.append(static_cast<char>(value));
  return out;
}

template <class T>
QByteArray written(const T& value) {
  ByteWriter out;
  write(out, value);
  return out.bytes();
}

template <class T>
T readWhole(const QByteArray& data) {
  ByteReader in(reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size()));
  T value = read<T>(in);
  in.expectEnd();
  return value;
}

// Throws when the read succeeds.
template <class T>
UniffiInternalError::Case failureReading(const QByteArray& data) {
  return apptest::thrownBy<UniffiInternalError>([&] { readWhole<T>(data); }).value().which();
}

const QByteArray skippedItemBytes = bytes({0, 0, 0, 4, 0x2F, 0x61, 0x2F, 0x62, 0, 0, 0, 3, 0, 0, 0, 5});

TEST(ByteForm, the_worked_example_and_small_values_have_their_documented_bytes) {
  const SkippedItem item{QStringLiteral("/a/b"), SkipReason{SkipReason::io{5}}};
  EXPECT_EQ(written(item), skippedItemBytes);
  EXPECT_EQ(readWhole<SkippedItem>(skippedItemBytes), item);

  const ScanEvent event{ScanEvent::skipped{{item}}};
  const QByteArray eventBytes = bytes({0, 0, 0, 4, 0, 0, 0, 1}) + skippedItemBytes;
  EXPECT_EQ(eventBytes.size(), 24);
  EXPECT_EQ(written(event), eventBytes);
  EXPECT_EQ(readWhole<ScanEvent>(eventBytes), event);

  // Small values have their documented bytes.
  EXPECT_EQ(written(QString()), bytes({0, 0, 0, 0}));
  EXPECT_EQ(written(QList<FileEntry>{}), bytes({0, 0, 0, 0}));
  EXPECT_EQ(written(std::optional<std::uint64_t>{}), bytes({0}));
  EXPECT_EQ(written(std::optional<std::uint64_t>{7}), bytes({1, 0, 0, 0, 0, 0, 0, 0, 7}));
  EXPECT_EQ(written(std::uint64_t{1024}), bytes({0, 0, 0, 0, 0, 0, 4, 0}));
  // The length counts UTF-8 bytes, not characters.
  EXPECT_EQ(written(QStringLiteral("n\u00e9")), bytes({0, 0, 0, 3, 0x6E, 0xC3, 0xA9}));
  EXPECT_EQ(written(KeepRule::shortestPath), bytes({0, 0, 0, 4}));
  EXPECT_EQ(written(RootSkipReason{RootSkipReason::unreadable{-1}}), bytes({0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ByteForm, every_event_case_reads_back_as_written) {
  const QString name = QStringLiteral("caf\u00e9");
  const FileEntry file{"/r/" + name,          name, 1, 4096, -5,   1'700'000'000'000'000'000,
                       0x0123456789abcdefULL, 77,   2, 99,   true, std::nullopt};
  const DuplicateSet set{9, name, 4096, {file, file}, 1, {file}, true, QString(64, u'a'), 4096, true};
  const std::vector<ScanEvent> events = {
      {ScanEvent::phase{Phase::verifying}},
      {ScanEvent::progress{1, 2, 3}},
      {ScanEvent::rootSkipped{QStringLiteral("/x"), RootSkipReason{RootSkipReason::nestedIn{QStringLiteral("/")}}}},
      {ScanEvent::skipped{{SkippedItem{QStringLiteral("/y"), SkipReason{SkipReason::changed{}}}}}},
      {ScanEvent::setReady{set}},
      {ScanEvent::lookalikeReady{LookalikeGroup{10, QStringLiteral("x"), 1, {file}}}},
      {ScanEvent::finished{ScanSummary{true, 1, 2, 3, 4, 5, 6, true, 7, 8, 9, 10}}},
      {ScanEvent::failed{QStringLiteral("no folder could be scanned")}},
  };
  for (const ScanEvent& event : events) EXPECT_EQ(readWhole<ScanEvent>(written(event)), event) << event.value.index();
}

TEST(Reading, a_bool_byte_other_than_one_reads_as_true_invalid_utf8_is_repaired_and_malformed_bytes_raise) {
  ScanConfig config{{}, MatchMode::nameAndSize, false, true, 1024, true, {}, {}, 0, KeepRule::folderPriority};
  QByteArray data = written(config);
  data[8] = 2;  // ignoreCase: after the empty roots (4 bytes) and the mode tag (4 bytes)
  EXPECT_TRUE(readWhole<ScanConfig>(data).ignoreCase);
  EXPECT_EQ(readWhole<QString>(bytes({0, 0, 0, 3, 'a', 0xFF, 'b'})), QStringLiteral("a\uFFFDb"));

  using Case = UniffiInternalError::Case;
  const std::tuple<const char*, Case, Case> rows[] = {
      {"event tag 9", failureReading<ScanEvent>(bytes({0, 0, 0, 9})), Case::unexpectedEnumCase},
      {"phase tag 0", failureReading<ScanEvent>(bytes({0, 0, 0, 1, 0, 0, 0, 0})), Case::unexpectedEnumCase},
      {"negative tag", failureReading<KeepRule>(bytes({0xFF, 0xFF, 0xFF, 0xFF})), Case::unexpectedEnumCase},
      {"optional tag 2", failureReading<std::optional<QString>>(bytes({2})), Case::unexpectedOptionalTag},
      {"one byte too many", failureReading<Phase>(bytes({0, 0, 0, 1, 0})), Case::incompleteData},
      {"three bytes for a u32", failureReading<std::uint32_t>(bytes({0, 0, 1})), Case::bufferOverflow},
      {"text longer than the buffer", failureReading<QString>(bytes({0, 0, 0, 5, 'a'})), Case::bufferOverflow},
      {"negative text length", failureReading<QString>(bytes({0xFF, 0xFF, 0xFF, 0xFE})), Case::bufferOverflow},
      {"huge count without items", failureReading<QList<SkippedItem>>(bytes({0x7F, 0xFF, 0xFF, 0xFF})),
       Case::bufferOverflow},
      {"empty buffer", failureReading<ScanEvent>(QByteArray()), Case::bufferOverflow},
  };
  for (const auto& [what, actual, expected] : rows) EXPECT_EQ(actual, expected) << what;
}

const QString precomposed = QStringLiteral("/r/caf\u00e9.txt");
const QString decomposed = QStringLiteral("/r/cafe\u0301.txt");

FileEntry entry(const QString& path) {
  return FileEntry{
      path, path.section(QLatin1Char('/'), -1), 0, 10, std::nullopt, 5, 1, 2, 1, std::nullopt, false, std::nullopt};
}

TEST(RecordEquality, texts_compare_canonically_and_optionals_and_suggested_copies_count) {
  ASSERT_NE(precomposed, decomposed);
  EXPECT_EQ(entry(precomposed), entry(decomposed));
  EXPECT_EQ(qHash(entry(precomposed)), qHash(entry(decomposed)));

  const SkippedItem a{precomposed, SkipReason{SkipReason::permission{}}};
  const SkippedItem b{decomposed, SkipReason{SkipReason::permission{}}};
  EXPECT_EQ(QSet<SkippedItem>({a, b}).size(), 1);

  const ScanEvent nested{
      ScanEvent::rootSkipped{QStringLiteral("/x"), RootSkipReason{RootSkipReason::nestedIn{precomposed}}}};
  const ScanEvent nestedToo{
      ScanEvent::rootSkipped{QStringLiteral("/x"), RootSkipReason{RootSkipReason::nestedIn{decomposed}}}};
  EXPECT_EQ(nested, nestedToo);
  EXPECT_EQ(qHash(nested), qHash(nestedToo));

  const FileEntry base = entry(precomposed);
  for (const auto zero : {+[](FileEntry& e) { e.freedBytes = 0; }, +[](FileEntry& e) { e.createdNs = 0; },
                          +[](FileEntry& e) { e.cloneId = 0; }}) {
    FileEntry other = base;
    zero(other);
    EXPECT_NE(other, base);
    EXPECT_NE(qHash(other), qHash(base));
  }
  const QList<FileEntry> files{entry(QStringLiteral("/a")), entry(QStringLiteral("/b"))};
  const DuplicateSet set{7, QStringLiteral("a"), 10, files, 0, {}, true, QString(64, QLatin1Char('0')), 10, false};
  DuplicateSet otherKeeper = set;
  otherKeeper.suggestedKeep = 1;
  EXPECT_NE(set, otherKeeper);
}

TEST(InvariantViolationText, describes_module_type_case_and_payload) {
  const InvariantViolation outOfRange{InvariantViolation::IndexOutOfRange{7, 3}};
  EXPECT_EQ(outOfRange.errorDescription(),
            QStringLiteral("Quelmaris.InvariantViolation.IndexOutOfRange(setId: 7, index: 3)"));
  EXPECT_EQ(InvariantViolation{InvariantViolation::TooSmall{7}}.errorDescription(),
            QStringLiteral("Quelmaris.InvariantViolation.TooSmall(setId: 7)"));
  EXPECT_EQ(InvariantViolation{InvariantViolation::SameInodeAsKeeper{18446744073709551615ULL}}.errorDescription(),
            QStringLiteral("Quelmaris.InvariantViolation.SameInodeAsKeeper(setId: 18446744073709551615)"));
}

}  // namespace
