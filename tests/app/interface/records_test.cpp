#include <gtest/gtest.h>

#include <QSet>

#include "interface/InterfaceRecords.h"
#include "interface/ScanEvent.h"

namespace {

const QString precomposed = QStringLiteral("/r/caf\u00e9.txt");
const QString decomposed = QStringLiteral("/r/cafe\u0301.txt");

FileEntry entry(const QString& path) {
  return FileEntry{
      path, path.section(QLatin1Char('/'), -1), 0, 10, std::nullopt, 5, 1, 2, 1, std::nullopt, false, std::nullopt};
}

// Canonically equivalent texts are equal and hash alike; an absent optional
// differs from zero; a set equal but for its suggested copy is unequal.
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
  FileEntry withFreed = base;
  withFreed.freedBytes = 0;
  FileEntry withCreated = base;
  withCreated.createdNs = 0;
  FileEntry withClone = base;
  withClone.cloneId = 0;
  for (const FileEntry& other : {withFreed, withCreated, withClone}) {
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
