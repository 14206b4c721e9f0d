// The main window over a scan store whose scans the test plays by hand, with
// the folder list, stored options and Trash service it stands on, and a fresh
// folder for the files the scans report. Files: the Trash's file operations.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <memory>
#include <optional>
#include <string>

#include "app_test_support.hpp"
#include "folders/FolderStore.h"
#include "interface/CoreTrashPlanner.h"
#include "results/ResultsView.h"
#include "scan/ScanStore.h"
#include "scripted_scanner.hpp"
#include "shell/MainWindow.h"
#include "shell/ScanOptionsBinding.h"
#include "temp_tree.hpp"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"

namespace apptest {

// A Trash that takes every file and leaves it where it is.
struct TakingEveryFile final : FileTrashing {
  quelmaris::Result<TrashedItem, FileOperationError> trashItem(const QUrl& url) const override {
    return TrashedItem{url, {}};
  }
  quelmaris::Result<bool, FileOperationError> itemExists(const QUrl&) const override { return false; }
  std::optional<FileOperationError> moveItem(const QUrl&, const QUrl&, const ItemIdentity&) const override {
    return std::nullopt;
  }
};

template <class Files>
struct ScriptedMainWindow {
  // Before the window below: widgets need the application object.
  QApplication& application = (widgettest::userFolders(), widgettest::application());
  quelmaris::testing::TempTree tree;
  QTemporaryDir storage;
  FolderStore folders{storage.filePath("folders.json")};
  std::shared_ptr<ScriptedScanner> scanner = std::make_shared<ScriptedScanner>();
  ScanStore scan{scanner};
  ScanOptions stored;
  ScanOptionsBinding options{[this] { return stored; }, [this](const ScanOptions& o) { stored = o; }};
  std::shared_ptr<Files> files = std::make_shared<Files>();
  TrashService trash{std::make_unique<CoreTrashPlanner>(), files};
  MainWindow window{folders, scan, trash, options};

  // Hands the latest scan an event, as the core would.
  void feed(const ScanEvent& event) const { scanner->scripts.back().feed.yield(event); }

  // Plays a scan of the tree to its end: two sets of three copies and two
  // items not read. The results view it shows; null when none came.
  ResultsView* showResultsOfTwoSets() {
    scan.start({urlOf(tree.root())}, ScanOptions{});
    if (!QTest::qWaitFor([this] { return !scanner->scripts.empty(); }, 120'000)) return nullptr;
    for (int id = 1; id <= 2; ++id) {
      QList<FileEntry> copies;
      for (int copy = 0; copy < 3; ++copy)
        copies.append(entryFor(tree.write("s" + std::to_string(id) + "/" + std::to_string(copy), "x")));
      feed({ScanEvent::setReady{DuplicateSet{std::uint64_t(id), "x", 1, copies, 0, {}, true, std::nullopt, 2, false}}});
    }
    feed({ScanEvent::skipped{{SkippedItem{"/locked", SkipReason{SkipReason::permission{}}},
                              SkippedItem{"/gone", SkipReason{SkipReason::permission{}}}}}});
    feed({ScanEvent::finished{ScanSummary{false, 8, 6, 2, 0, 4, 4, false, 2, 0, 5, 4}}});
    if (!QTest::qWaitFor([this] { return scan.state().is<ScanStore::State::finished>(); }, 120'000)) return nullptr;
    return window.findChild<ResultsView*>();
  }
};

}  // namespace apptest
