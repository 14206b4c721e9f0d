// The dialog that chooses folders to add or a folder to reconnect: the
// folders in the folder shown (one or several may be chosen), a button for
// the folder that holds it, a field where a folder's path is typed (the
// folders of what is typed so far offered as completions, the list following
// it) and the accept button. Alt+Down enters the list's current folder,
// Alt+Up goes to the one that holds the folder shown. Nothing here asks the file system on the main
// thread: each folder is listed on a thread of its own (SubfolderListing), so
// that a folder on a mount that stopped answering shows as loading and holds
// up nothing else, and the folders chosen are handed over unchecked, for the
// folder store to keep the folders among them. Main thread only.
#pragma once

#include <QDialog>
#include <QList>
#include <QUrl>

#include "platform/Mailbox.h"

class QCompleter;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStandardItemModel;
class QStringListModel;

class FolderChooser final : public QDialog {
  Q_OBJECT

 public:
  FolderChooser(bool allowsMultipleSelection, const QString& acceptLabel, QWidget* parent = nullptr);

  // Shows the folders in the folder at this absolute path.
  void setFolder(const QString& path);
  QString folder() const { return folder_; }
  // The typed folder when one is typed; otherwise the folders selected in
  // the list, or with none selected the folder shown.
  QList<QUrl> chosenUrls() const;

  QLineEdit* pathField() const { return field_; }
  QListView* list() const { return list_; }
  QPushButton* acceptButton() const { return accept_; }
  // Whether the listing of the folder shown has come.
  bool isListed() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void listed(const QStringList& names);
  void typed(const QString& text);
  void selectionChanged();
  void open(const QModelIndex& index);
  // The absolute path a typed text names, relative ones under the folder shown.
  QString resolved(const QString& text) const;

  QString folder_;
  int listing_ = 0;
  QLabel* shown_;
  QLabel* loading_;
  QStandardItemModel* names_;
  QListView* list_;
  QLineEdit* field_;
  QStringListModel* completions_;
  QCompleter* completer_;
  QPushButton* accept_;
  Mailbox mailbox_{this};
};
