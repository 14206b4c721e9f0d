// The preview window on hostile files: it never reads on the main thread, and
// what it shows reads the same on screen and to assistive technologies.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QPlainTextEdit>
#include <QTest>

#include "hostile_pictures.hpp"
#include "results/QuickLookPreview.h"
#include "temp_tree.hpp"
#include "widget_test_support.hpp"

namespace {

class QuickLookPreviewTest : public ::testing::Test {
 protected:
  QString write(const std::string& name, const QByteArray& data) {
    const QString path = QString::fromStdString(tree.path(name));
    EXPECT_TRUE(apptest::writeFile(path, data));
    return path;
  }
  QString read() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview.shownKind() != "loading"; }, 120'000));
    return preview.shownKind();
  }

  QApplication& app = widgettest::application();
  quelmaris::testing::TempTree tree;
  QuickLookPreview preview;
};

// 10,000 scans of 1024 × 1024 take the decoder many seconds.
TEST_F(QuickLookPreviewTest, a_jpeg_of_ten_thousand_scans_returns_at_once_with_its_summary_and_is_then_refused) {
  QImage flat(1024, 1024, QImage::Format_RGB32);
  flat.fill(qRgb(90, 140, 200));
  const QString bomb = write("scans.jpg", apptest::jpegWithScans(flat, 10'000));
  preview.showFile(bomb);
  EXPECT_EQ(preview.shownKind(), "loading") << "the picture was decoded on the main thread";
  EXPECT_EQ(read(), "file");

  const QString usual = write("usual.jpg", apptest::jpegWithScans(flat, 0));
  preview.showFile(usual);
  EXPECT_EQ(read(), "image");
}

TEST_F(QuickLookPreviewTest, text_after_a_nul_reads_to_assistive_technologies_as_it_shows) {
  preview.showFile(write("nul.txt", QByteArray("before\0after\n", 13)));
  ASSERT_EQ(read(), "text");
  auto* editor = preview.findChild<QPlainTextEdit*>();
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(editor);
  ASSERT_TRUE(accessible && accessible->textInterface());
  const QString spoken = accessible->textInterface()->text(0, accessible->textInterface()->characterCount());
  EXPECT_FALSE(spoken.contains(QChar(u'\0'))) << "a NUL ends the text for a screen reader";
  EXPECT_EQ(spoken, editor->toPlainText());
  EXPECT_TRUE(spoken.contains(QStringLiteral("after")));
}

TEST_F(QuickLookPreviewTest, a_name_with_a_right_to_left_override_reads_in_the_order_of_its_characters) {
  const QString path = write("invoice\u202Etxt.exe", "MZ");
  preview.showFile(path);
  EXPECT_EQ(preview.windowTitle(), QStringLiteral("invoice<U+202E>txt.exe"));
  EXPECT_EQ(read(), "file");
  EXPECT_EQ(preview.path(), path);
}

}  // namespace
