// The table's rows without a display: ids, the query, the stable sort and
// the resolution of selected ids, over a scan store fed by hand.
#include <gtest/gtest.h>

#include "app_test_support.hpp"
#include "results/ResultRows.h"
#include "scan_store_driver.hpp"

namespace {

using widgettest::duplicateSet;
using widgettest::fileEntry;

FileEntry file(const QString& path, std::int64_t modifiedNs = 0, std::optional<std::int64_t> createdNs = {}) {
  FileEntry entry = fileEntry(path);
  entry.modifiedNs = modifiedNs;
  entry.createdNs = createdNs;
  return entry;
}

DuplicateSet set(std::uint64_t id, const QString& name, std::uint64_t reclaimable, QList<FileEntry> files) {
  DuplicateSet made = duplicateSet(id, 0, reclaimable);
  made.displayName = name;
  made.files = std::move(files);
  return made;
}

class ResultRowsTest : public ::testing::Test {
 protected:
  void show(const QList<DuplicateSet>& sets, const QList<LookalikeGroup>& groups = {}) {
    apptest::application();
    driver.start();
    QList<ScanEvent> events;
    for (const DuplicateSet& s : sets) events.append({ScanEvent::setReady{s}});
    for (const LookalikeGroup& g : groups) events.append({ScanEvent::lookalikeReady{g}});
    events.append(widgettest::finishedEvent());
    driver.feed(events);
  }
  // The display names of the top-level sets, in order.
  QStringList names(const QString& query, const QList<SortComparator>& order = {recoverableFirst}) const {
    QStringList shown;
    for (const qsizetype position : rows.topLevel(ResultsFilter::duplicates, query, order))
      shown << driver.store.sets()[position].displayName;
    return shown;
  }

  static constexpr SortComparator recoverableFirst{SortKey::recoverable, Qt::DescendingOrder};
  widgettest::ScanStoreDriver driver;
  ResultRows rows{driver.store};
};

TEST_F(ResultRowsTest, ids_are_kind_letter_decimal_id_and_the_absolute_path) {
  DuplicateSet s =
      set(42, QStringLiteral("x.jpg"), 1, {file(QStringLiteral("/Volumes/A/x.jpg")), file(QStringLiteral("/B/x.jpg"))});
  s.lookalikes = {file(QStringLiteral("/C/x.jpg"))};
  const LookalikeGroup g{7, QStringLiteral("x.jpg"), 1, {file(QStringLiteral("/Volumes/A/x.jpg"))}};
  EXPECT_EQ(ResultRow::ofSet(s).id(), QStringLiteral("s42"));
  EXPECT_EQ(ResultRow::ofFile(s, 0).id(), QStringLiteral("f42//Volumes/A/x.jpg"));
  EXPECT_EQ(ResultRows::setChild(s, 2).id(), QStringLiteral("l42//C/x.jpg")) << "lookalikes follow the copies";
  EXPECT_EQ(ResultRow::ofLookalike(g, 0).id(), QStringLiteral("l7//Volumes/A/x.jpg"));
  EXPECT_EQ(ResultRow::ofGroup(g).id(), QStringLiteral("g7"));
  EXPECT_EQ(ResultRow::ofFile(s, 1).copies(), 0);
  EXPECT_EQ(ResultRow::ofFile(s, 1).size(), s.size) << "a copy sorts by its set's size";
}

TEST_F(ResultRowsTest, the_query_is_trimmed_of_blanks_only_and_ignores_case_and_diacritics) {
  DuplicateSet upper =
      set(1, QStringLiteral("ABC.txt"), 5, {file(QStringLiteral("/x/1")), file(QStringLiteral("/y/1"))});
  DuplicateSet inFolder =
      set(2, QStringLiteral("n"), 4, {file(QStringLiteral("/x/2")), file(QStringLiteral("/Abc/2"))});
  DuplicateSet accented =
      set(3, QStringLiteral("Café.txt"), 3, {file(QStringLiteral("/x/3")), file(QStringLiteral("/y/3"))});
  DuplicateSet viaLookalike =
      set(4, QStringLiteral("m"), 2, {file(QStringLiteral("/x/4")), file(QStringLiteral("/y/4"))});
  viaLookalike.lookalikes = {file(QStringLiteral("/abc/4"))};
  show({upper, inFolder, accented, viaLookalike});
  const QStringList all{QStringLiteral("ABC.txt"), QStringLiteral("n"), QStringLiteral("Café.txt"),
                        QStringLiteral("m")};
  const struct {
    const char* query;
    QStringList expected;
  } cases[] = {
      {"", all},
      {" \t ", all},
      {"abc", {QStringLiteral("ABC.txt"), QStringLiteral("n")}},
      {"\tabc ", {QStringLiteral("ABC.txt"), QStringLiteral("n")}},
      {"\nabc", {}},
      {"CAFE", {QStringLiteral("Café.txt")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    EXPECT_EQ(names(QString::fromUtf8(c.query)), c.expected);
  }
}

TEST_F(ResultRowsTest, sorting_is_stable_from_the_store_order_and_breaks_ties_with_the_next_comparator) {
  show({set(1, QStringLiteral("b"), 10, {file(QStringLiteral("/1"), 50), file(QStringLiteral("/2"), 10)}),
        set(2, QStringLiteral("a"), 10, {file(QStringLiteral("/3"), 20, 5), file(QStringLiteral("/4"), 30)}),
        set(3, QStringLiteral("file10"), 20, {file(QStringLiteral("/5"), 40)}), set(4, QStringLiteral("file9"), 5, {}),
        set(5, QStringLiteral("a"), 1,
            {file(QStringLiteral("/6"), 1), file(QStringLiteral("/7"), 2), file(QStringLiteral("/8"), 3)})});
  const auto ascending = [](SortKey key) { return SortComparator{key, Qt::AscendingOrder}; };
  const struct {
    const char* trace;
    QList<SortComparator> order;
    QStringList expected;
  } cases[] = {
      {"recoverable, ties in store order", {recoverableFirst}, {"file10", "b", "a", "file9", "a"}},
      {"name, numbers by value, then recoverable",
       {ascending(SortKey::name), recoverableFirst},
       {"a", "a", "b", "file9", "file10"}},
      {"created falls back to modified; no files is the distant past",
       {ascending(SortKey::created)},
       {"file9", "a", "a", "b", "file10"}},
      {"copies descending", {{SortKey::copies, Qt::DescendingOrder}}, {"a", "b", "a", "file10", "file9"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trace);
    EXPECT_EQ(names({}, c.order), c.expected);
  }
  EXPECT_EQ(rows.topLevel(ResultsFilter::duplicates, {}, {recoverableFirst}), (QList<qsizetype>{0, 1, 2, 3, 4}))
      << "after other sorts the default order starts again from the store's";
}

TEST_F(ResultRowsTest, selected_ids_resolve_to_copies_and_files_or_to_nothing) {
  DuplicateSet digits = set(12, QStringLiteral("x"), 9, {file(QStringLiteral("/34/x")), file(QStringLiteral("/35/x"))});
  digits.lookalikes = {file(QStringLiteral("/L/x"))};
  DuplicateSet unverified =
      set(13, QStringLiteral("u"), 1, {file(QStringLiteral("/u/1")), file(QStringLiteral("/u/2"))});
  unverified.verified = false;
  const LookalikeGroup group{7, QStringLiteral("x"), 1, {file(QStringLiteral("/L/x")), file(QStringLiteral("/G/x"))}};
  show({digits, unverified}, {group});
  using Member = ResultRows::Member;
  const auto one = [](const char* id) { return QSet<QString>{QString::fromUtf8(id)}; };

  EXPECT_EQ(rows.selectedMember(one("f12//35/x")), (Member{0, 1}));
  EXPECT_FALSE(rows.selectedMember(one("f012//35/x"))) << "not an id the table builds";
  EXPECT_EQ(rows.selectedFile(one("l7//G/x"))->path, QStringLiteral("/G/x"));
  EXPECT_EQ(rows.selectedFile(one("l99//L/x"))->path, QStringLiteral("/L/x")) << "the group id is not used";
  for (const QSet<QString>& none : {QSet<QString>{}, one("s12"), one("g7"), one("f12//gone"),
                                    QSet<QString>{QStringLiteral("f12//34/x"), QStringLiteral("f12//35/x")}}) {
    EXPECT_FALSE(rows.selectedMember(none));
    EXPECT_FALSE(rows.selectedFile(none));
  }

  const QSet<QString> mixed{QStringLiteral("s12"), QStringLiteral("f12//34/x"), QStringLiteral("f12//35/x"),
                            QStringLiteral("f13//u/2")};
  EXPECT_EQ(rows.selectedCopies(mixed), (QList<Member>{{0, 1}})) << "the keeper and the unverified copy are left out";

  EXPECT_TRUE(std::holds_alternative<InspectedSet>(*rows.inspectedItem(one("s12"))));
  EXPECT_TRUE(std::holds_alternative<InspectedMember>(*rows.inspectedItem(one("f12//35/x"))));
  EXPECT_TRUE(std::holds_alternative<InspectedLookalike>(*rows.inspectedItem(one("l7//G/x"))));
  EXPECT_FALSE(rows.inspectedItem(one("g7")));
  EXPECT_FALSE(rows.inspectedItem(mixed));
}

}  // namespace
