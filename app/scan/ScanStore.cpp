#include "scan/ScanStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <utility>

#include "results/ResultPruning.h"
#include "folders/SecurityScope.h"
#include "platform/FileSystemWork.h"
#include "platform/FreedMemory.h"

namespace {

// Beyond this many sets a finished scan shows every row collapsed.
constexpr qsizetype maxExpandedSets = 200;

QString withTrailingSlash(QString path) {
  if (!path.endsWith(QLatin1Char('/'))) path.append(QLatin1Char('/'));
  return path;
}

// How long a scan asked to stop may take to answer before the store lets it
// go: a scan thread stuck in the kernel on a folder that stopped answering
// never answers.
constexpr std::chrono::seconds stopGrace{1};

// The root with symbolic links resolved; nothing when it cannot be resolved.
QString resolvedRootPath(const QString& path) {
  const QString resolved = QFileInfo(path).canonicalFilePath();
  return resolved.isEmpty() ? QString() : withTrailingSlash(resolved);
}

QString lastComponent(const QUrl& root) { return QFileInfo(QDir::cleanPath(root.path())).fileName(); }

}  // namespace

ScanStore::ScanStore(std::shared_ptr<const DuplicateScanning> scanner, QObject* parent)
    : QObject(parent), scanner_(std::move(scanner)) {}

// The stream must stop delivering before its context object goes away.
ScanStore::~ScanStore() { abandonSession(); }

template <class T>
void ScanStore::assign(T& field, T value, void (ScanStore::*changed)()) {
  if (field == value) return;
  field = std::move(value);
  emit(this->*changed)();
}

void ScanStore::setIsStale(bool stale) { assign(isStale_, stale, &ScanStore::isStaleChanged); }

void ScanStore::setSelection(const SelectionModel& selection) {
  assign(selection_, selection, &ScanStore::selectionChanged);
}

void ScanStore::setExpandedRows(const QSet<std::uint64_t>& rows) {
  assign(expandedRows_, rows, &ScanStore::expandedRowsChanged);
}

void ScanStore::changeSelection(const std::function<void(SelectionModel&)>& edit) {
  edit(selection_);
  emit selectionChanged();
}

void ScanStore::changeExpandedRows(const std::function<void(QSet<std::uint64_t>&)>& edit) {
  edit(expandedRows_);
  emit expandedRowsChanged();
}

// The reset cancels the running session before anything else.
void ScanStore::start(const QList<QUrl>& roots, const ScanOptions& options) {
  reset();
  if (roots.isEmpty()) return;
  // Resolved anew even for the same roots, since a link among them may lead
  // elsewhere now; before the roots notify, so that observers see both new.
  resolveShownRoots(roots);
  assign(roots_, roots, &ScanStore::rootsChanged);
  assign(verified_, options.verifyContent || options.criterion == MatchCriterion::contentOnly,
         &ScanStore::verifiedChanged);
  assign(state_, State{State::scanning{}}, &ScanStore::stateChanged);
  assign(startedAt_, std::optional(QDateTime::currentDateTime()), &ScanStore::startedAtChanged);
  const ScanConfig config = options.config(roots);
  QMetaObject::invokeMethod(
      this, [this, task = task_, roots, config] { runSession(task, roots, config); }, Qt::QueuedConnection);
}

void ScanStore::cancel() {
  if (!session_) return;
  session_->cancel();
  QTimer::singleShot(stopGrace, this, [this, task = task_] {
    if (task != task_ || !session_ || !state_.is<State::scanning>()) return;
    abandonSession();
    clearResults();
  });
}

// A root whose file system has not answered within the checks' wait shows
// as given until it answers; so does one that cannot be resolved.
void ScanStore::resolveShownRoots(const QList<QUrl>& roots) {
  shownRoots_.clear();
  QList<QByteArray> paths;
  for (const QUrl& root : roots) {
    shownRoots_.append({withTrailingSlash(root.path()), lastComponent(root)});
    paths.append(QFile::encodeName(root.path()));
  }
  using Answer = std::pair<qsizetype, QString>;
  const auto resolve = [paths](qsizetype offset) {
    return Answer{offset, resolvedRootPath(QFile::decodeName(paths[offset]))};
  };
  const auto apply = [this](const Answer& answer) {
    if (!answer.second.isEmpty()) shownRoots_[answer.first].resolvedPath = answer.second;
  };
  const auto late = [this, apply, task = task_](const std::vector<Answer>& answers) {
    if (task != task_) return;
    for (const Answer& answer : answers) apply(answer);
    // Rows already shown show their folders anew.
    if (!sets_.isEmpty()) emit setsChanged();
  };
  const auto answers = FileSystemWork::run<Answer>(paths, resolve, mailbox_.address(), late);
  for (const auto& answer : answers)
    if (answer) apply(*answer);
}

void ScanStore::reset() {
  abandonSession();
  clearResults();
}

// The scan task, on the main thread once the event loop runs it.
void ScanStore::runSession(std::uint64_t task, const QList<QUrl>& roots, const ScanConfig& config) {
  if (task != task_) return;
  accessedRoots_ = SecurityScope::startAccessing(roots);
  session_ = scanner_->start(config);
  session_->events.consume(
      this, [this](ScanEvent event) { handle(std::move(event)); }, [this] { endSession(); });
}

void ScanStore::endSession() {
  session_.reset();
  SecurityScope::stopAccessing(std::exchange(accessedRoots_, {}));
}

// Ends the current scan task, whether it has opened its session or not: a
// task not yet run never opens one, and a running session is cancelled and
// its stream terminated, which drops every event not yet applied.
void ScanStore::abandonSession() {
  ++task_;
  if (!session_) return;
  session_->cancel();
  session_->events.terminate();
  endSession();
}

void ScanStore::clearResults() {
  const bool heldResults = !sets_.isEmpty() || !lookalikes_.isEmpty() || !skipped_.isEmpty();
  assign(state_, State{}, &ScanStore::stateChanged);
  assign(phase_, Phase::listing, &ScanStore::phaseChanged);
  assign(filesSeen_, std::uint64_t{0}, &ScanStore::filesSeenChanged);
  assign(bytesHashed_, std::uint64_t{0}, &ScanStore::bytesHashedChanged);
  assign(bytesToHash_, std::uint64_t{0}, &ScanStore::bytesToHashChanged);
  assign(startedAt_, std::optional<QDateTime>(), &ScanStore::startedAtChanged);
  assign(sets_, QList<DuplicateSet>(), &ScanStore::setsChanged);
  assign(lookalikes_, QList<LookalikeGroup>(), &ScanStore::lookalikesChanged);
  assign(skipped_, QList<SkippedItem>(), &ScanStore::skippedChanged);
  // Root skips are announced at every reset, even when there were none.
  rootSkips_.clear();
  emit rootSkipsChanged();
  pendingSets_.clear();
  pendingLookalikes_.clear();
  assign(isStale_, false, &ScanStore::isStaleChanged);
  assign(selection_, SelectionModel(), &ScanStore::selectionChanged);
  assign(expandedRows_, QSet<std::uint64_t>(), &ScanStore::expandedRowsChanged);
  // The core built the results on its threads: without this their memory
  // would stay taken while the next scan builds its own.
  if (heldResults) returnFreedMemoryToSystem();
}

void ScanStore::handle(ScanEvent event) {
  std::visit(
      [this](auto&& e) {
        using Case = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<Case, ScanEvent::phase>) {
          assign(phase_, e.phase, &ScanStore::phaseChanged);
        } else if constexpr (std::is_same_v<Case, ScanEvent::progress>) {
          apply(e);
        } else if constexpr (std::is_same_v<Case, ScanEvent::rootSkipped>) {
          rootSkips_.append(RootSkip{std::move(e.path), std::move(e.reason)});
          emit rootSkipsChanged();
        } else if constexpr (std::is_same_v<Case, ScanEvent::skipped>) {
          skipped_.append(std::move(e.items));
          emit skippedChanged();
        } else if constexpr (std::is_same_v<Case, ScanEvent::setReady>) {
          pendingSets_.append(std::move(e.set));
        } else if constexpr (std::is_same_v<Case, ScanEvent::lookalikeReady>) {
          pendingLookalikes_.append(std::move(e.group));
        } else if constexpr (std::is_same_v<Case, ScanEvent::finished>) {
          if (e.summary.cancelled)
            clearResults();
          else
            finish(e.summary);
        } else {
          assign(state_, State{State::failed{std::move(e.error)}}, &ScanStore::stateChanged);
        }
      },
      event.value);
}

void ScanStore::apply(ScanEvent::progress progress) {
  assign(filesSeen_, progress.filesSeen, &ScanStore::filesSeenChanged);
  assign(bytesHashed_, progress.bytesHashed, &ScanStore::bytesHashedChanged);
  assign(bytesToHash_, progress.bytesToHash, &ScanStore::bytesToHashChanged);
  flushPending();
}

void ScanStore::finish(const ScanSummary& summary) {
  flushPending();
  sortSets();
  setSelection(SelectionModel(sets_, verified_, SelectionModel::Marking::deselectAll));
  QSet<std::uint64_t> expanded;
  if (sets_.size() <= maxExpandedSets)
    for (const DuplicateSet& set : std::as_const(sets_)) expanded.insert(set.id);
  setExpandedRows(expanded);
  assign(state_, State{State::finished{summary}}, &ScanStore::stateChanged);
}

// Each list grows by its whole batch at once, so observers hear of it once.
void ScanStore::flushPending() {
  if (!pendingSets_.isEmpty()) {
    sets_.append(std::exchange(pendingSets_, {}));
    emit setsChanged();
  }
  if (!pendingLookalikes_.isEmpty()) {
    lookalikes_.append(std::exchange(pendingLookalikes_, {}));
    emit lookalikesChanged();
  }
}

// Largest reclaimable first; sets that free the same keep their arrival order.
void ScanStore::sortSets() {
  std::stable_sort(sets_.begin(), sets_.end(),
                   [](const DuplicateSet& a, const DuplicateSet& b) { return a.reclaimable > b.reclaimable; });
  emit setsChanged();
}

void ScanStore::removeTrashed(const QSet<QString>& paths) {
  PrunedSets pruned = pruneSets(sets_, MovedPaths(paths));
  const QList<DuplicateSet> oldSets = std::exchange(sets_, std::move(pruned.sets));
  if (pruned.changed) emit setsChanged();
  changeSelection([&](SelectionModel& selection) { selection.remap(oldSets, sets_); });
}

QString ScanStore::displayFolder(const FileEntry& file) const {
  const QString parent = file.path.left(file.path.lastIndexOf(QLatin1Char('/')) + 1);
  if (file.rootIndex >= static_cast<std::uint64_t>(shownRoots_.size())) return parent;
  const ShownRoot& root = shownRoots_[file.rootIndex];
  if (!parent.startsWith(root.resolvedPath)) return parent;
  return root.name + QLatin1Char('/') + parent.mid(root.resolvedPath.size());
}
