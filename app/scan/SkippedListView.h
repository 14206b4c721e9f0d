// The sheet that lists what a scan did not read: the listed folders it
// dropped and the items it skipped, each with a plain-language reason, and a
// "Done" button that closes it (also on Return). Built from the store's lists
// as they stand when it is opened; it changes nothing. Main thread only.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include "interface/QuelmarisCore.h"
#include "scan/ScanStore.h"

class QListView;
class NotReadListModel;

class SkippedListView final : public QDialog {
  Q_OBJECT

 public:
  SkippedListView(const QList<SkippedItem>& skipped, const QList<RootSkip>& rootSkips, QWidget* parent = nullptr);

  static QString skipText(const SkipReason& reason);
  static QString rootSkipText(const RootSkipReason& reason);

  QListView* list() const { return list_; }

 private:
  void showRowMenu(const QPoint& position);

  NotReadListModel* model_;
  QListView* list_;
};
