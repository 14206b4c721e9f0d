#include <gtest/gtest.h>

#include <QScreen>
#include <QTextDocumentFragment>
#include <QToolTip>

#include "folders/FolderListModel.h"
#include "platform/PlainToolTip.h"
#include "scan/NotReadListModel.h"
#include "temp_tree.hpp"
#include "widget_test_support.hpp"

TEST(PlainToolTipTest, names_that_look_like_html_show_as_typed_in_the_sidebar_and_the_not_read_list) {
  widgettest::application();
  const quelmaris::testing::TempTree tree;
  FolderStore store(QString::fromStdString(tree.path("folders.json")));
  for (const std::string name : {"<b>x<br>.txt", "a &amp; b", "<i>two  spaces"}) {
    SCOPED_TRACE(name);
    const QString path = QString::fromStdString(tree.mkdir(name));
    store.add({QUrl::fromLocalFile(path)});
    const FolderListModel sidebar(store, KeepChoice::oldest);
    const NotReadListModel notRead({{path, "x"}}, {});
    const QModelIndex row = sidebar.index(sidebar.rowCount() - 1), item = notRead.index(1);
    EXPECT_EQ(row.data().toString(), QString::fromStdString(name));
    EXPECT_EQ(item.data().toString(), path);
    // What a tool tip shows: Qt reads it as rich text whenever it looks like HTML.
    for (const QModelIndex& index : {row, item}) {
      const QString tip = index.data(Qt::ToolTipRole).toString();
      EXPECT_EQ(Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip, path);
    }
  }
}

TEST(PlainToolTipTest, a_tip_keeps_a_path_on_one_line_and_breaks_it_only_at_the_screens_width) {
  widgettest::application();
  QWidget anchor;
  anchor.show();
  const auto shownSize = [&anchor](const QString& text) {
    QToolTip::showText(anchor.mapToGlobal(QPoint()), plainToolTip(text), &anchor);
    QSize size;
    for (const QWidget* tip : QApplication::topLevelWidgets())
      if (tip->objectName() == "qtooltip_label" && tip->isVisible()) size = tip->size();
    QToolTip::hideText();
    return size;
  };
  const QString path = QStringLiteral("/home/someone/Documents/Projects 2024/a folder/with a long name/file.txt");
  const int oneLine = shownSize(QStringLiteral("x")).height();
  EXPECT_EQ(shownSize(path).height(), oneLine);
  const QSize wide = shownSize(path.repeated(12));
  EXPECT_LE(wide.width(), anchor.screen()->availableGeometry().width());
  EXPECT_GT(wide.height(), oneLine);
}
