// The application's one state of the current scan: starts a scan through a
// DuplicateScanning seam, applies its events one at a time in arrival order
// and holds what it found, the user's selection and the rows shown expanded.
// Main thread only; no operation fails, and none waits on the scanned
// folders' file systems longer than FileSystemWork's short while. Every
// observed property has a *Changed signal: a whole-value write emits it only
// when the value changed, an in-place change (an appended batch, a sort, a
// selection edit) always.
//
// One scan at a time: starting a scan or resetting the store abandons the
// running session at once. Its stream is terminated, so that its undelivered
// events are dropped and none it yields later is delivered; its scan is
// cancelled and its scoped access ended. Events therefore reach the store
// only from the session it currently holds.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

#include "interface/CoreScanner.h"
#include "interface/QuelmarisCore.h"
#include "platform/Mailbox.h"
#include "scan/ScanOptions.h"
#include "scan/SelectionModel.h"

// A listed folder the core did not scan, and why.
struct RootSkip {
  QString path;
  RootSkipReason reason;
  friend bool operator==(const RootSkip& a, const RootSkip& b) {
    return sameText(a.path, b.path) && a.reason == b.reason;
  }
};

class ScanStore : public QObject {
  Q_OBJECT
  Q_PROPERTY(ScanStore::State state READ state NOTIFY stateChanged)
  Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
  Q_PROPERTY(std::uint64_t filesSeen READ filesSeen NOTIFY filesSeenChanged)
  Q_PROPERTY(std::uint64_t bytesHashed READ bytesHashed NOTIFY bytesHashedChanged)
  Q_PROPERTY(std::uint64_t bytesToHash READ bytesToHash NOTIFY bytesToHashChanged)
  Q_PROPERTY(std::optional<QDateTime> startedAt READ startedAt NOTIFY startedAtChanged)
  Q_PROPERTY(QList<DuplicateSet> sets READ sets NOTIFY setsChanged)
  Q_PROPERTY(QList<LookalikeGroup> lookalikes READ lookalikes NOTIFY lookalikesChanged)
  Q_PROPERTY(QList<SkippedItem> skipped READ skipped NOTIFY skippedChanged)
  Q_PROPERTY(QList<RootSkip> rootSkips READ rootSkips NOTIFY rootSkipsChanged)
  Q_PROPERTY(bool verified READ verified NOTIFY verifiedChanged)
  Q_PROPERTY(QList<QUrl> roots READ roots NOTIFY rootsChanged)
  Q_PROPERTY(bool isStale READ isStale WRITE setIsStale NOTIFY isStaleChanged)
  Q_PROPERTY(SelectionModel selection READ selection WRITE setSelection NOTIFY selectionChanged)
  Q_PROPERTY(QSet<std::uint64_t> expandedRows READ expandedRows WRITE setExpandedRows NOTIFY expandedRowsChanged)

 public:
  // Where the scan stands. Equal when the case and its payload are equal.
  struct State {
    struct idle {
      bool operator==(const idle&) const = default;
    };
    struct scanning {
      bool operator==(const scanning&) const = default;
    };
    struct finished {
      ScanSummary summary;
      bool operator==(const finished&) const = default;
    };
    struct failed {
      QString message;
      bool operator==(const failed&) const = default;
    };
    std::variant<idle, scanning, finished, failed> value;

    template <class Case>
    bool is() const {
      return std::holds_alternative<Case>(value);
    }
    bool operator==(const State&) const = default;
  };

  explicit ScanStore(std::shared_ptr<const DuplicateScanning> scanner, QObject* parent = nullptr);
  ~ScanStore() override;

  const State& state() const { return state_; }
  Phase phase() const { return phase_; }
  std::uint64_t filesSeen() const { return filesSeen_; }
  std::uint64_t bytesHashed() const { return bytesHashed_; }
  std::uint64_t bytesToHash() const { return bytesToHash_; }
  const std::optional<QDateTime>& startedAt() const { return startedAt_; }
  const QList<DuplicateSet>& sets() const { return sets_; }
  const QList<LookalikeGroup>& lookalikes() const { return lookalikes_; }
  const QList<SkippedItem>& skipped() const { return skipped_; }
  const QList<RootSkip>& rootSkips() const { return rootSkips_; }
  bool verified() const { return verified_; }
  const QList<QUrl>& roots() const { return roots_; }
  bool isStale() const { return isStale_; }
  const SelectionModel& selection() const { return selection_; }
  const QSet<std::uint64_t>& expandedRows() const { return expandedRows_; }
  // The running scan's session: present from the moment the scan task opens
  // it until its stream ends or the store abandons it.
  const ScanSession* session() const { return session_ ? &*session_ : nullptr; }

  void setIsStale(bool stale);
  void setSelection(const SelectionModel& selection);
  void setExpandedRows(const QSet<std::uint64_t>& rows);
  // In-place edits; each notifies once, whatever the edit did.
  void changeSelection(const std::function<void(SelectionModel&)>& edit);
  void changeExpandedRows(const std::function<void(QSet<std::uint64_t>&)>& edit);

  // Abandons any running scan, clears the results and, with at least one
  // root, scans the roots (priority order, index 0 first) with the options.
  // The scan task opens the session from the event loop, after this returns.
  void start(const QList<QUrl>& roots, const ScanOptions& options);
  // Asks the running session to stop; the store returns to idle when the
  // core answers with its cancelled finish, or after a second without that
  // answer, letting the session go as reset does. Nothing happens without a
  // session.
  void cancel();
  // Abandons any running scan and returns to idle with every result, counter,
  // the start time, the selection, the expanded rows and the stale mark
  // cleared, the results' memory given back to the system; roots and
  // verified stay.
  void reset();
  // Takes files moved to the Trash (their paths before the move) out of the
  // sets, drops each set left with fewer than two files or without its
  // suggested copy, and carries the selection over by path.
  void removeTrashed(const QSet<QString>& paths);
  // The folder shown beside a file's name: its parent folder, shortened to
  // the root folder's name and the rest when it lies under its root. The
  // roots are resolved on disk once per scan, when it starts, off the main
  // thread (FileSystemWork); a root whose file system has not answered by the
  // end of start shows as given until it does.
  QString displayFolder(const FileEntry& file) const;

 signals:
  void stateChanged();
  void phaseChanged();
  void filesSeenChanged();
  void bytesHashedChanged();
  void bytesToHashChanged();
  void startedAtChanged();
  void setsChanged();
  void lookalikesChanged();
  void skippedChanged();
  void rootSkipsChanged();
  void verifiedChanged();
  void rootsChanged();
  void isStaleChanged();
  void selectionChanged();
  void expandedRowsChanged();

 private:
  void resolveShownRoots(const QList<QUrl>& roots);
  void runSession(std::uint64_t task, const QList<QUrl>& roots, const ScanConfig& config);
  void endSession();
  void abandonSession();
  void clearResults();
  void handle(ScanEvent event);
  void apply(ScanEvent::progress progress);
  void finish(const ScanSummary& summary);
  void flushPending();
  void sortSets();

  template <class T>
  void assign(T& field, T value, void (ScanStore::*changed)());

  State state_;
  Phase phase_ = Phase::listing;
  std::uint64_t filesSeen_ = 0;
  std::uint64_t bytesHashed_ = 0;
  std::uint64_t bytesToHash_ = 0;
  std::optional<QDateTime> startedAt_;
  QList<DuplicateSet> sets_;
  QList<LookalikeGroup> lookalikes_;
  QList<SkippedItem> skipped_;
  QList<RootSkip> rootSkips_;
  bool verified_ = true;
  QList<QUrl> roots_;
  // Each root of roots_ as displayFolder shows it: a results table asks for
  // every row it paints, far too often to resolve the roots each time.
  struct ShownRoot {
    QString resolvedPath;
    QString name;
  };
  QList<ShownRoot> shownRoots_;
  bool isStale_ = false;
  SelectionModel selection_;
  QSet<std::uint64_t> expandedRows_;

  const std::shared_ptr<const DuplicateScanning> scanner_;
  std::optional<ScanSession> session_;
  // The roots on which the session's scoped access began.
  QList<QUrl> accessedRoots_;
  // The current scan task; a task that is no longer current never opens its session.
  std::uint64_t task_ = 0;
  QList<DuplicateSet> pendingSets_;
  QList<LookalikeGroup> pendingLookalikes_;
  // Declared last: closed first, before anything a late answer would touch.
  Mailbox mailbox_{this};
};
