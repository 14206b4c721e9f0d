// The rows of the not-read list: up to two sections, "Folders" (the listed
// folders the scan dropped, in the order given) and "N items" (the skipped
// items, in file-browser order by path), each a heading row followed by one
// row per entry. Built once from the lists as they stood when the sheet was
// opened; the lists it was given are not changed.
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

#include "interface/QuelmarisCore.h"

struct RootSkip;

class NotReadListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role { ReasonRole = Qt::UserRole + 1, IsHeadingRole };

  struct Entry {
    QString path;
    QString reason;
  };

  NotReadListModel(QList<Entry> folders, QList<Entry> items, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Ascending by path as a file browser orders names: locale-aware, letter
  // case not deciding, runs of digits by their value. Stable.
  static void sortByPath(QList<Entry>& entries);

 private:
  struct Row {
    bool heading;
    QString text;  // the heading, or the entry's path
    QString reason;
  };
  QList<Row> rows_;
};
