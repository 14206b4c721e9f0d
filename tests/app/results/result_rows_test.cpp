// The table's rows without a display: ids, the query, the stable sort and
// the resolution of selected ids, over a scan store fed by hand.
#include <gtest/gtest.h>

#include "app_test_support.hpp"
#include "results/ResultRows.h"
#include "scan_store_driver.hpp"

namespace {

FileEntry file(const QString& path, std::int64_t modifiedNs = 0, std::optional<std::int64_t> createdNs = {}) {
  FileEntry entry = widgettest::fileEntry(path);
  entry.modifiedNs = modifiedNs;
  entry.createdNs = createdNs;
  return entry;
}

DuplicateSet set(std::uint64_t id, const QString& name, std::uint64_t reclaimable, QList<FileEntry> files,
                 QList<FileEntry> lookalikes = {}) {
  return {id, name, 100, std::move(files), 0, std::move(lookalikes), true, QString(64, u'0'), reclaimable, false};
}

class ResultRowsTest : public ::testing::Test {
 protected:
  // The display names of the top-level sets, in order.
  QStringList names(const QString& query, const QList<SortComparator>& order = {recoverableFirst}) const {
    QStringList shown;
    for (const qsizetype position : rows.topLevel(ResultsFilter::duplicates, query, order))
      shown << driver.store.sets()[position].displayName;
    return shown;
  }

  static constexpr SortComparator recoverableFirst{SortKey::recoverable, Qt::DescendingOrder};
  QCoreApplication& app = apptest::application();
  widgettest::ScanStoreDriver driver;
  ResultRows rows{driver.store};
};

TEST_F(ResultRowsTest, the_query_is_trimmed_of_blanks_only_ignoring_case_and_diacritics_and_sorting_is_stable) {
  driver.finishWith({set(1, "ABC.txt", 5, {file("/x/1"), file("/y/1")}), set(2, "n", 4, {file("/x/2"), file("/Abc/2")}),
                     set(3, "Café.txt", 3, {file("/x/3"), file("/y/3")}),
                     set(4, "m", 2, {file("/x/4"), file("/y/4")}, {file("/abc/4")})});
  const QStringList all{"ABC.txt", "n", "Café.txt", "m"}, abc{"ABC.txt", "n"};
  const std::pair<const char*, QStringList> cases[] = {
      {"", all}, {" \t ", all}, {"abc", abc}, {"\tabc ", abc}, {"\nabc", {}}, {"CAFE", {"Café.txt"}},
  };
  for (const auto& [query, expected] : cases) {
    SCOPED_TRACE(query);
    EXPECT_EQ(names(QString::fromUtf8(query)), expected);
  }

  // Sorting is stable from the store order and breaks ties with the next comparator.
  driver.finishWith({set(1, "b", 10, {file("/1", 50), file("/2", 10)}),
                     set(2, "a", 10, {file("/3", 20, 5), file("/4", 30)}), set(3, "file10", 20, {file("/5", 40)}),
                     set(4, "file9", 5, {}), set(5, "a", 1, {file("/6", 1), file("/7", 2), file("/8", 3)})});
  const auto ascending = [](SortKey key) { return SortComparator{key, Qt::AscendingOrder}; };
  const std::tuple<const char*, QList<SortComparator>, QStringList> orders[] = {
      {"recoverable, ties in store order", {recoverableFirst}, {"file10", "b", "a", "file9", "a"}},
      {"name, numbers by value", {ascending(SortKey::name), recoverableFirst}, {"a", "a", "b", "file9", "file10"}},
      {"created, else modified; none is oldest", {ascending(SortKey::created)}, {"file9", "a", "a", "b", "file10"}},
      {"copies descending", {{SortKey::copies, Qt::DescendingOrder}}, {"a", "b", "a", "file10", "file9"}},
  };
  for (const auto& [trace, order, expected] : orders) {
    SCOPED_TRACE(trace);
    EXPECT_EQ(names({}, order), expected);
  }
  EXPECT_EQ(rows.topLevel(ResultsFilter::duplicates, {}, {recoverableFirst}), (QList<qsizetype>{0, 1, 2, 3, 4}))
      << "after other sorts the default order starts again from the store's";
}

TEST_F(ResultRowsTest, ids_name_kind_id_and_path_and_selected_ids_resolve_to_copies_and_files_or_to_nothing) {
  DuplicateSet unverified = set(13, "u", 1, {file("/u/1"), file("/u/2")});
  unverified.verified = false;
  driver.finishWith({set(12, "x", 9, {file("/34/x"), file("/35/x")}, {file("/L/x")}), unverified},
                    {LookalikeGroup{7, "x", 1, {file("/L/x"), file("/G/x")}}});
  using Member = ResultRows::Member;
  const auto one = [](const char* id) { return QSet<QString>{QString::fromUtf8(id)}; };

  EXPECT_EQ(rows.selectedMember(one("f12//35/x")), (Member{0, 1}));
  EXPECT_FALSE(rows.selectedMember(one("f012//35/x"))) << "not an id the table builds";
  EXPECT_EQ(rows.selectedFile(one("l7//G/x"))->path, "/G/x");
  EXPECT_EQ(rows.selectedFile(one("l99//L/x"))->path, "/L/x") << "the group id is not used";
  for (const QSet<QString>& none :
       {QSet<QString>{}, one("s12"), one("g7"), one("f12//gone"), QSet<QString>{"f12//34/x", "f12//35/x"}}) {
    EXPECT_FALSE(rows.selectedMember(none));
    EXPECT_FALSE(rows.selectedFile(none));
  }

  const QSet<QString> mixed{"s12", "f12//34/x", "f12//35/x", "f13//u/2"};
  EXPECT_EQ(rows.selectedCopies(mixed), (QList<Member>{{0, 1}})) << "the keeper and the unverified copy are left out";

  EXPECT_TRUE(std::holds_alternative<InspectedSet>(*rows.inspectedItem(one("s12"))));
  EXPECT_TRUE(std::holds_alternative<InspectedMember>(*rows.inspectedItem(one("f12//35/x"))));
  EXPECT_TRUE(std::holds_alternative<InspectedLookalike>(*rows.inspectedItem(one("l7//G/x"))));
  EXPECT_FALSE(rows.inspectedItem(one("g7")));
  EXPECT_FALSE(rows.inspectedItem(mixed));

  // Ids are the kind's letter, the decimal id and the absolute path.
  const DuplicateSet s = set(42, "x.jpg", 1, {file("/Volumes/A/x.jpg"), file("/B/x.jpg")}, {file("/C/x.jpg")});
  const LookalikeGroup g{7, "x.jpg", 1, {file("/Volumes/A/x.jpg")}};
  EXPECT_EQ(ResultRow::ofSet(s).id(), "s42");
  EXPECT_EQ(ResultRow::ofFile(s, 0).id(), "f42//Volumes/A/x.jpg");
  EXPECT_EQ(ResultRows::setChild(s, 2).id(), "l42//C/x.jpg") << "lookalikes follow the copies";
  EXPECT_EQ(ResultRow::ofLookalike(g, 0).id(), "l7//Volumes/A/x.jpg");
  EXPECT_EQ(ResultRow::ofGroup(g).id(), "g7");
  EXPECT_EQ(ResultRow::ofFile(s, 1).copies(), 0);
  EXPECT_EQ(ResultRow::ofFile(s, 1).size(), s.size) << "a copy sorts by its set's size";
}

}  // namespace
