#include "results/ResultRows.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <functional>
#include <variant>
#include <vector>

#include "results/ResultsQuery.h"
#include "scan/ScanStore.h"

namespace {

// The collation of names; English where the locale is C, whose collation
// ignores the numeric mode.
QCollator nameCollator() {
  const QLocale current;
  QCollator collator(current.language() == QLocale::C ? QLocale(QLocale::English) : current);
  collator.setNumericMode(true);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return collator;
}

// The integer keys, exact: doubles would merge neighbouring large sizes.
template <class Item>
std::uint64_t countKey(const Item& item, SortKey key) {
  if (key == SortKey::size) return item.size;
  if (key == SortKey::copies) return static_cast<std::uint64_t>(item.files.size());
  if constexpr (std::is_same_v<Item, DuplicateSet>) return item.reclaimable;
  return 0;
}

bool isDate(SortKey key) { return key == SortKey::created || key == SortKey::modified; }

template <class Item>
QList<qsizetype> sorted(const QList<Item>& items, QList<qsizetype> rows, const QList<SortComparator>& order,
                        const std::function<const std::vector<QCollatorSortKey>&()>& nameKeys) {
  const auto count = static_cast<std::size_t>(items.size());
  const std::vector<QCollatorSortKey>* names = nullptr;
  std::vector<double> dates[6];
  std::vector<std::uint64_t> exact[6];
  for (const SortComparator& comparator : order) {
    const auto key = static_cast<std::size_t>(comparator.key);
    if (comparator.key == SortKey::name) {
      names = &nameKeys();
    } else if (!isDate(comparator.key)) {
      if (!exact[key].empty()) continue;
      exact[key].reserve(count);
      for (const Item& item : items) exact[key].push_back(countKey(item, comparator.key));
    } else if (dates[key].empty()) {
      dates[key].reserve(count);
      for (const Item& item : items)
        dates[key].push_back(comparator.key == SortKey::created ? earliestCreated(item.files)
                                                                : latestModified(item.files));
    }
  }
  const auto compare = [&](qsizetype a, qsizetype b) {
    const auto i = static_cast<std::size_t>(a);
    const auto j = static_cast<std::size_t>(b);
    for (const SortComparator& comparator : order) {
      const auto key = static_cast<std::size_t>(comparator.key);
      int sign = 0;
      if (comparator.key == SortKey::name) {
        sign = (*names)[i].compare((*names)[j]);
      } else if (!exact[key].empty()) {
        sign = exact[key][i] < exact[key][j] ? -1 : exact[key][i] > exact[key][j] ? 1 : 0;
      } else {
        sign = dates[key][i] < dates[key][j] ? -1 : dates[key][i] > dates[key][j] ? 1 : 0;
      }
      if (sign != 0) return comparator.order == Qt::AscendingOrder ? sign < 0 : sign > 0;
    }
    return false;
  };
  std::stable_sort(rows.begin(), rows.end(), compare);
  return rows;
}

template <class Item>
QString foldedText(const Item& item) {
  qsizetype length = item.displayName.size();
  for (const FileEntry& file : item.files) length += 1 + file.path.size();
  QString text;
  text.reserve(length);
  text.append(item.displayName);
  for (const FileEntry& file : item.files) {
    text.append(QChar(u'\0'));
    text.append(file.path);
  }
  return foldedForSearch(text);
}

template <class Item>
QList<qsizetype> passing(const QList<Item>& items, const QList<QString>& folded, const QString& query) {
  QList<qsizetype> rows;
  rows.reserve(items.size());
  const QString needle = query.isEmpty() ? QString() : foldedForSearch(query);
  for (qsizetype position = 0; position < items.size(); ++position)
    if (needle.isEmpty() || folded[position].contains(needle)) rows.append(position);
  return rows;
}

// "f42//a/x.jpg" → 42 and "/a/x.jpg"; none unless the id is one the table builds.
struct ParsedId {
  QChar kind;
  std::uint64_t id;
  QString path;
};

std::optional<ParsedId> parse(const QString& text) {
  if (text.size() < 2) return std::nullopt;
  const qsizetype slash = text.indexOf(QLatin1Char('/'));
  const QString digits = text.mid(1, slash < 0 ? -1 : slash - 1);
  bool ok = false;
  const std::uint64_t id = digits.toULongLong(&ok);
  if (!ok || QString::number(id) != digits) return std::nullopt;
  return ParsedId{text[0], id, slash < 0 ? QString() : text.mid(slash + 1)};
}

std::optional<QString> single(const QSet<QString>& selection) {
  if (selection.size() != 1) return std::nullopt;
  return *selection.cbegin();
}

}  // namespace

ResultRows::ResultRows(const ScanStore& scan, QObject* parent) : QObject(parent), scan_(scan) {
  connect(&scan_, &ScanStore::setsChanged, this, &ResultRows::dropCaches);
  connect(&scan_, &ScanStore::lookalikesChanged, this, &ResultRows::dropCaches);
}

// The query texts are folded on the first query only; the id index, which
// every mark and selection reads, at once.

void ResultRows::dropCaches() {
  indexed_ = false;
  setPositions_.clear();
  groupPositions_.clear();
  lookalikes_.clear();
  foldedSets_.clear();
  foldedGroups_.clear();
  setNameKeys_.clear();
  groupNameKeys_.clear();
  buildIdIndex();
}

void ResultRows::buildIdIndex() const {
  if (indexed_) return;
  indexed_ = true;
  const QList<DuplicateSet>& sets = scan_.sets();
  const QList<LookalikeGroup>& groups = scan_.lookalikes();
  setPositions_.reserve(sets.size());
  for (qsizetype position = sets.size() - 1; position >= 0; --position) setPositions_[sets[position].id] = position;
  for (qsizetype position = groups.size() - 1; position >= 0; --position)
    groupPositions_[groups[position].id] = position;
  // The first listing of a path wins: sets' lookalikes first, then the groups.
  for (auto set = sets.crbegin(); set != sets.crend(); ++set)
    for (auto file = set->lookalikes.crbegin(); file != set->lookalikes.crend(); ++file)
      lookalikes_[file->path] = &*file;
  for (auto group = groups.crbegin(); group != groups.crend(); ++group)
    for (auto file = group->files.crbegin(); file != group->files.crend(); ++file)
      if (!lookalikes_.contains(file->path)) lookalikes_[file->path] = &*file;
}

const QList<QString>& ResultRows::foldedTexts(ResultsFilter filter) const {
  if (filter == ResultsFilter::duplicates) {
    if (foldedSets_.isEmpty())
      for (const DuplicateSet& set : scan_.sets()) foldedSets_.append(foldedText(set));
    return foldedSets_;
  }
  if (foldedGroups_.isEmpty())
    for (const LookalikeGroup& group : scan_.lookalikes()) foldedGroups_.append(foldedText(group));
  return foldedGroups_;
}

template <class Item>
const std::vector<QCollatorSortKey>& ResultRows::nameKeys(const QList<Item>& items,
                                                          std::vector<QCollatorSortKey>& keys) const {
  if (!keys.empty() || items.isEmpty()) return keys;
  const QCollator collator = nameCollator();
  keys.reserve(static_cast<std::size_t>(items.size()));
  for (const Item& item : items) keys.push_back(collator.sortKey(item.displayName));
  return keys;
}

QList<qsizetype> ResultRows::topLevel(ResultsFilter filter, const QString& query,
                                      const QList<SortComparator>& order) const {
  const QString trimmed = trimmedQuery(query);
  const QList<QString> none;
  if (filter == ResultsFilter::duplicates) {
    const QList<DuplicateSet>& sets = scan_.sets();
    return sorted(sets, passing(sets, trimmed.isEmpty() ? none : foldedTexts(filter), trimmed), order,
                  [&]() -> const std::vector<QCollatorSortKey>& { return nameKeys(sets, setNameKeys_); });
  }
  const QList<LookalikeGroup>& groups = scan_.lookalikes();
  return sorted(groups, passing(groups, trimmed.isEmpty() ? none : foldedTexts(filter), trimmed), order,
                [&]() -> const std::vector<QCollatorSortKey>& { return nameKeys(groups, groupNameKeys_); });
}

ResultRow ResultRows::setChild(const DuplicateSet& set, qsizetype row) {
  if (row < set.files.size()) return ResultRow::ofFile(set, row);
  return ResultRow::ofLookalike(set, row - set.files.size());
}

qsizetype ResultRows::setPosition(std::uint64_t id) const {
  buildIdIndex();
  return setPositions_.value(id, -1);
}

qsizetype ResultRows::groupPosition(std::uint64_t id) const {
  buildIdIndex();
  return groupPositions_.value(id, -1);
}

std::optional<ResultRows::Member> ResultRows::member(const QString& id) const {
  const auto parsed = parse(id);
  if (!parsed || parsed->kind != QLatin1Char('f')) return std::nullopt;
  const qsizetype position = setPosition(parsed->id);
  if (position < 0) return std::nullopt;
  const QList<FileEntry>& files = scan_.sets()[position].files;
  for (qsizetype index = 0; index < files.size(); ++index)
    if (files[index].path == parsed->path) return Member{position, index};
  return std::nullopt;
}

std::optional<FileEntry> ResultRows::lookalike(const QString& path) const {
  buildIdIndex();
  const FileEntry* file = lookalikes_.value(path, nullptr);
  if (file == nullptr) return std::nullopt;
  return *file;
}

std::optional<ResultRows::Member> ResultRows::selectedMember(const QSet<QString>& selection) const {
  const auto id = single(selection);
  if (!id) return std::nullopt;
  return member(*id);
}

std::optional<FileEntry> ResultRows::selectedFile(const QSet<QString>& selection) const {
  if (const auto copy = selectedMember(selection)) return scan_.sets()[copy->set].files[copy->index];
  const auto id = single(selection);
  if (!id || !id->startsWith(QLatin1Char('l'))) return std::nullopt;
  const qsizetype slash = id->indexOf(QLatin1Char('/'));
  if (slash < 0) return std::nullopt;
  return lookalike(id->mid(slash + 1));
}

QList<ResultRows::Member> ResultRows::selectedCopies(const QSet<QString>& selection) const {
  QList<Member> copies;
  const SelectionModel& marking = scan_.selection();
  for (const QString& id : selection) {
    const auto copy = member(id);
    if (copy && marking.canMark(copy->index, scan_.sets()[copy->set])) copies.append(*copy);
  }
  std::sort(copies.begin(), copies.end(),
            [](const Member& a, const Member& b) { return std::pair(a.set, a.index) < std::pair(b.set, b.index); });
  return copies;
}

SelectionModel::Totals ResultRows::markedTotals() const {
  return scan_.selection().totals(scan_.sets(), [this](std::uint64_t id) { return setPosition(id); });
}

std::optional<InspectedItem> ResultRows::inspectedItem(const QSet<QString>& selection) const {
  const auto id = single(selection);
  if (!id) return std::nullopt;
  if (const auto copy = member(*id)) return InspectedMember{scan_.sets()[copy->set], copy->index};
  if (auto file = selectedFile(selection)) return InspectedLookalike{std::move(*file)};
  const auto parsed = parse(*id);
  if (!parsed || parsed->kind != QLatin1Char('s') || id->contains(QLatin1Char('/'))) return std::nullopt;
  const qsizetype position = setPosition(parsed->id);
  if (position < 0) return std::nullopt;
  return InspectedSet{scan_.sets()[position]};
}
