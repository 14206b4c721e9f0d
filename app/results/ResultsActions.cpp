#include "results/ResultsActions.h"

#include <QCoreApplication>

#include "scan/ScanStore.h"

namespace {

// A copy named by identity rather than by position.
struct CopyId {
  std::uint64_t setId;
  QString path;
};

QString tr(const char* text) { return QCoreApplication::translate("ResultsActions", text); }

QString toggleTitle(bool allMarked, qsizetype count) {
  if (allMarked) return count == 1 ? tr("Deselect Copy") : tr("Deselect Copies");
  return count == 1 ? tr("Select Copy") : tr("Select Copies");
}

MenuAction marking(ScanStore& scan, SelectionModel::Marking mode) {
  return {[&scan, mode] { scan.changeSelection([&](SelectionModel& s) { s.applyMarking(mode, scan.sets()); }); }};
}

QSet<std::uint64_t> everyGroupId(const ScanStore& scan) {
  QSet<std::uint64_t> ids;
  ids.reserve(scan.sets().size() + scan.lookalikes().size());
  for (const DuplicateSet& set : scan.sets()) ids.insert(set.id);
  for (const LookalikeGroup& group : scan.lookalikes()) ids.insert(group.id);
  return ids;
}

void addToggle(ResultsActions& actions, ScanStore& scan, const ResultRows& rows, const QSet<QString>& selection) {
  const QList<ResultRows::Member> copies = rows.selectedCopies(selection);
  if (copies.isEmpty()) return;
  bool allMarked = true;
  QList<CopyId> ids;
  for (const ResultRows::Member& copy : copies) {
    const DuplicateSet& set = scan.sets()[copy.set];
    allMarked = allMarked && scan.selection().marked().value(set.id).contains(copy.index);
    ids.append({set.id, set.files[copy.index].path});
  }
  actions.toggleMarkTitle = toggleTitle(allMarked, copies.size());
  // One write for the whole list: the result equals one write per copy.
  actions.toggleMark = MenuAction{[&scan, ids, allMarked] {
    scan.changeSelection([&](SelectionModel& marks) {
      for (const CopyId& id : ids)
        if (const auto copy = findCopy(scan, id.setId, id.path))
          marks.setMarked(!allMarked, copy->index, scan.sets()[copy->set]);
    });
  }};
}

}  // namespace

std::optional<ResultRows::Member> findCopy(const ScanStore& scan, std::uint64_t setId, const QString& path) {
  const QList<DuplicateSet>& sets = scan.sets();
  for (qsizetype position = 0; position < sets.size(); ++position) {
    if (sets[position].id != setId) continue;
    for (qsizetype index = 0; index < sets[position].files.size(); ++index)
      if (sets[position].files[index].path == path) return ResultRows::Member{position, index};
    return std::nullopt;
  }
  return std::nullopt;
}

void keepCopy(ScanStore& scan, std::uint64_t setId, const QString& path) {
  const auto copy = findCopy(scan, setId, path);
  if (!copy) return;
  scan.changeSelection([&](SelectionModel& s) { s.keep(copy->index, scan.sets()[copy->set]); });
}

ResultsActions buildResultsActions(ScanStore& scan, const ResultRows& rows, const QSet<QString>& selection,
                                   bool isMoving, const ResultsViewHooks& hooks) {
  ResultsActions actions;
  if (!isMoving && rows.markedTotals().files >= 1) actions.moveToTrash = MenuAction{hooks.confirmMove};
  if (const auto file = rows.selectedFile(selection)) {
    actions.showInFinder = MenuAction{[reveal = hooks.reveal, path = file->path] { reveal(path); }};
    actions.quickLook = MenuAction{[quickLook = hooks.quickLook, path = file->path] { quickLook(path); }};
  }
  if (const auto member = rows.selectedMember(selection)) {
    const DuplicateSet& set = scan.sets()[member->set];
    if (member->index != scan.selection().keeper(set))
      actions.keepThisCopy =
          MenuAction{[&scan, id = set.id, path = set.files[member->index].path] { keepCopy(scan, id, path); }};
  }
  if (!scan.sets().isEmpty()) {
    actions.selectAllCopies = marking(scan, SelectionModel::Marking::selectAllCopies);
    actions.selectOutsideFirstFolder = marking(scan, SelectionModel::Marking::selectOutsideFirstFolder);
    actions.deselectAll = marking(scan, SelectionModel::Marking::deselectAll);
  }
  actions.expandAll = MenuAction{[&scan] { scan.setExpandedRows(everyGroupId(scan)); }};
  actions.collapseAll = MenuAction{[&scan] { scan.setExpandedRows({}); }};
  actions.focusFilter = MenuAction{hooks.focusFilter};
  actions.filter = hooks.filter;
  actions.sort = hooks.sort;
  addToggle(actions, scan, rows, selection);
  return actions;
}
