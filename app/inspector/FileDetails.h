// The inspector's pane for one copy of a set or one lookalike file: a header
// with its thumbnail, name, folder and actions, then what the scan recorded
// and what the file system says now, its tags, how its content compares, and
// a notice when the file is gone. The model's results count only while they
// belong to this file's path. Its one write is "Keep This Copy". Main thread only.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "interface/InterfaceRecords.h"

class ContentRow;
class ElidedLabel;
class InspectorModel;
class InspectorSection;
class QLabel;
class QPushButton;
class ScanStore;
class SymbolLabel;
class Thumbnail;

class FileDetails final : public QWidget {
  Q_OBJECT

 public:
  using QuickLook = std::function<void(const FileEntry&)>;

  FileDetails(ScanStore& scan, InspectorModel& model, QuickLook quickLook, QWidget* parent = nullptr);

  // Where the keyboard goes when "Keep This Copy" disables itself and no
  // control of the pane follows it (the results table beside the inspector).
  void setFocusAfter(QWidget* widget) { focusAfter_ = widget; }

  // A copy of a set (with the set and its index) or a lookalike (neither).
  void setFile(const FileEntry& file, const std::optional<DuplicateSet>& set, std::optional<qsizetype> index);

  static QString hardLinksText(const FileEntry& file);
  static QString cloneText(const FileEntry& file);

 private:
  QWidget* makeHeader();
  void makeInformation(InspectorSection& section);
  void makeStorage(InspectorSection& section);
  void refreshRecorded();
  void refreshCurrent();
  void refreshKept();
  bool isKept() const;
  void passKeyboardOn();

  ScanStore& scan_;
  InspectorModel& model_;
  QuickLook quickLook_;
  std::optional<FileEntry> file_;
  std::optional<DuplicateSet> set_;
  std::optional<qsizetype> index_;
  QPointer<QWidget> focusAfter_;

  Thumbnail* thumbnail_ = nullptr;
  ElidedLabel* name_ = nullptr;
  ElidedLabel* folder_ = nullptr;
  QPushButton* keep_ = nullptr;
  QLabel* kind_ = nullptr;
  QLabel* size_ = nullptr;
  QLabel* created_ = nullptr;
  QLabel* modified_ = nullptr;
  QLabel* lastOpened_ = nullptr;
  QLabel* added_ = nullptr;
  QLabel* volume_ = nullptr;
  QLabel* format_ = nullptr;
  QLabel* location_ = nullptr;
  QLabel* iCloud_ = nullptr;
  QLabel* hardLinks_ = nullptr;
  QLabel* clone_ = nullptr;
  InspectorSection* tags_ = nullptr;
  QLabel* tagsText_ = nullptr;
  ContentRow* content_ = nullptr;
  SymbolLabel* kept_ = nullptr;
  SymbolLabel* differs_ = nullptr;
  InspectorSection* missing_ = nullptr;
};
