// The list inside a Trash sheet: one text per row (a path, or a path and its
// error), made only when the row is drawn, so that a list of 100,000 files
// opens at once. A text is data and shows as it stands, never as markup.
// One line cut in the middle, or up to two lines cut at the end. Read by
// assistive technology as AccessibleList has it. Main thread only.
#pragma once

#include <QListView>
#include <QString>
#include <functional>

class SheetList final : public QListView {
  Q_OBJECT

 public:
  enum class Rows { oneLineCutInTheMiddle, upToTwoLines };

  SheetList(qsizetype count, std::function<QString(qsizetype)> text, Rows rows, int height, QWidget* parent = nullptr);
};
