// A scan store over a scripted scanner; each call returns once the queued deliveries ran.
#pragma once

#include <QCoreApplication>
#include <QUrl>
#include <memory>

#include "scan/ScanStore.h"
#include "scripted_scanner.hpp"

namespace widgettest {

inline ScanEvent phaseEvent(Phase phase) { return {ScanEvent::phase{phase}}; }
inline ScanEvent progressEvent(std::uint64_t seen, std::uint64_t hashed = 0, std::uint64_t toHash = 0) {
  return {ScanEvent::progress{seen, hashed, toHash}};
}
inline ScanEvent skippedEvent(const QString& path) {
  return {ScanEvent::skipped{{SkippedItem{path, SkipReason{SkipReason::permission{}}}}}};
}
inline ScanEvent rootSkippedEvent(const QString& path, RootSkipReason reason) {
  return {ScanEvent::rootSkipped{path, std::move(reason)}};
}
inline ScanSummary scanSummary(bool cancelled = false) { return {cancelled, 7, 6, 1, 0, 1, 100, false, 0, 0, 5, 4}; }
inline ScanEvent finishedEvent(bool cancelled = false) { return {ScanEvent::finished{scanSummary(cancelled)}}; }

struct ScanStoreDriver {
  std::shared_ptr<apptest::ScriptedScanner> scanner = std::make_shared<apptest::ScriptedScanner>();
  ScanStore store{scanner};

  static void drain() {
    for (int round = 0; round < 5; ++round) QCoreApplication::processEvents();
  }

  void start(bool verifyContent = true) {
    ScanOptions options;
    options.verifyContent = verifyContent;
    store.start({QUrl::fromLocalFile(QStringLiteral("/data"))}, options);
    drain();
  }
  void feed(const QList<ScanEvent>& events) {
    for (const ScanEvent& event : events) scanner->scripts.back().feed.yield(event);
    drain();
  }
  // A finished scan that found these sets and groups.
  void finishWith(const QList<DuplicateSet>& sets, const QList<LookalikeGroup>& groups = {}) {
    start();
    QList<ScanEvent> events;
    for (const DuplicateSet& set : sets) events.append({ScanEvent::setReady{set}});
    for (const LookalikeGroup& group : groups) events.append({ScanEvent::lookalikeReady{group}});
    events.append(finishedEvent());
    feed(events);
  }
  int cancels() const { return *scanner->scripts.back().cancels; }
};

inline FileEntry fileEntry(const QString& path, std::optional<std::uint64_t> freed = 100, std::uint32_t rootIndex = 0) {
  return FileEntry{path, path.section(u'/', -1), rootIndex, 100,  std::nullopt, 0, 1, qHash(path),
                   1,    std::nullopt,           false,     freed};
}

// A set of the given number of copies under /s<id>/.
inline DuplicateSet duplicateSet(std::uint64_t id, int copies, std::uint64_t reclaimable, bool estimated = false) {
  QList<FileEntry> files;
  for (int copy = 0; copy < copies; ++copy) files.append(fileEntry(QStringLiteral("/s%1/%2").arg(id).arg(copy)));
  return DuplicateSet{id, QStringLiteral("n"), 100, files, 0, {}, true, QString(64, u'0'), reclaimable, estimated};
}

}  // namespace widgettest
