// Times SelectionModel::totals, which runs on every redraw of the results and
// of the action bar: 100,000 sets of three copies after a scan, 10,000 copies
// marked across them. Prints the median of many runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "scan/SelectionModel.h"

namespace {

constexpr int setCount = 100'000;
constexpr int copiesPerSet = 3;
constexpr int markedCopies = 10'000;
constexpr int runs = 501;

FileEntry copy(int set, int index) {
  const QString path = QStringLiteral("/data/folder%1/file%2").arg(index).arg(set);
  return FileEntry{path,
                   path.section(QLatin1Char('/'), -1),
                   static_cast<std::uint32_t>(index),
                   4096,
                   std::nullopt,
                   0,
                   1,
                   static_cast<std::uint64_t>(set * copiesPerSet + index),
                   1,
                   std::nullopt,
                   index % 2 == 0,
                   4096};
}

QList<DuplicateSet> syntheticSets() {
  QList<DuplicateSet> sets;
  sets.reserve(setCount);
  for (int set = 0; set < setCount; ++set) {
    QList<FileEntry> files;
    for (int index = 0; index < copiesPerSet; ++index) files.append(copy(set, index));
    sets.append(DuplicateSet{static_cast<std::uint64_t>(set) * 7919 + 1,
                             QStringLiteral("file"),
                             4096,
                             files,
                             0,
                             {},
                             set % 5 != 0,
                             std::nullopt,
                             4096 * (copiesPerSet - 1),
                             false});
  }
  return sets;
}

}  // namespace

int main() {
  const QList<DuplicateSet> sets = syntheticSets();
  SelectionModel selection(sets, false);
  constexpr int stride = setCount / markedCopies;
  for (int set = 0; set < setCount; set += stride) selection.setMarked(true, 1 + set % 2, sets[set]);

  std::vector<double> micros;
  micros.reserve(runs);
  SelectionModel::Totals totals;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    totals = selection.totals(sets);
    const auto end = std::chrono::steady_clock::now();
    micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
  }
  std::sort(micros.begin(), micros.end());
  std::printf("totals over %d sets, %lld marked copies: median %.1f us, min %.1f us, max %.1f us\n", setCount,
              static_cast<long long>(totals.files), micros[micros.size() / 2], micros.front(), micros.back());
  return totals.files == markedCopies ? 0 : 1;
}
