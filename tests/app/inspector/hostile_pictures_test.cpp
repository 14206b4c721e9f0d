// Pictures made to exhaust their reader, through the inspector's real reading
// path: what they cost is bounded in memory, and what cannot be bounded is
// refused before it is decoded.
#include <gtest/gtest.h>

#include <QImage>

#include "app_test_support.hpp"
#include "hostile_pictures.hpp"
#include "inspector/SystemFileMetadata.h"
#include "platform/BoundedImage.h"
#include "platform/PictureScreening.h"
#include "temp_tree.hpp"

namespace {

QImage gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, 128));
  return image;
}

class HostilePicturesTest : public ::testing::Test {
 protected:
  QString write(const char* name, const QByteArray& data) {
    const QString path = QString::fromStdString(tree.path(name));
    EXPECT_TRUE(apptest::writeFile(path, data));
    return path;
  }
  std::optional<QImage> thumbnail(const QString& path) { return SystemFileMetadata().thumbnail(path, 128, 2.0, {}); }

  QCoreApplication& app = apptest::application();
  quelmaris::testing::TempTree tree;
};

// 50 chunks of 7 MB: 350 MB of text, 700 MB as the decoder's strings.
TEST_F(HostilePicturesTest, text_chunks_inflating_to_hundreds_of_megabytes_cost_the_thumbnail_no_memory) {
  const QString bomb = write("bomb.png", apptest::pngWithTextBomb(gradient(64, 48), 50, 7 * 1024 * 1024));
  apptest::resetPeakResident();
  const qint64 before = apptest::peakResidentKiB();
  const std::optional<QImage> picture = thumbnail(bomb);
  const qint64 grown = apptest::peakResidentKiB() - before;
  ASSERT_TRUE(picture) << "the pixels need none of the text";
  EXPECT_EQ(picture->size(), QSize(64, 48));
  EXPECT_TRUE(picture->textKeys().isEmpty()) << "the picture kept its text";
  EXPECT_LT(grown, 64 * 1024) << "kB at the peak";
}

QByteArray encoded(const QImage& picture, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, format);
  return data;
}

// A JPEG comment segment holding the text.
QByteArray comment(const QByteArray& text) {
  const auto length = static_cast<quint16>(text.size() + 2);
  return QByteArray("\xFF\xFE", 2) + char(length >> 8) + char(length & 0xFF) + text;
}

// Text after the budget is spent is left out too, however short.
TEST_F(HostilePicturesTest, text_within_the_budget_is_read_and_text_past_it_is_left_out) {
  QImage picture = gradient(8, 8);
  // A PNG's text chunks are written in the order of their keys.
  picture.setText(QStringLiteral("Author"), QStringLiteral("kept"));
  picture.setText(QStringLiteral("Long"), QString(40'000, u'x'));
  picture.setText(QStringLiteral("Longer"), QString(40'000, u'y'));
  picture.setText(QStringLiteral("Short"), QStringLiteral("left out"));
  const QByteArray jpeg = encoded(gradient(8, 8), "JPEG");
  const std::pair<const char*, QByteArray> cases[] = {
      {"PNG", encoded(picture, "PNG")},
      {"JPEG", QByteArray(jpeg).insert(2, comment("Author: kept") + comment("Long: " + QByteArray(40'000, 'x')) +
                                              comment("Longer: " + QByteArray(40'000, 'y')) +
                                              comment("Short: left out"))},
  };
  for (const auto& [format, data] : cases) {
    SCOPED_TRACE(format);
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<QList<ByteRange>> leftOut = screenPicture(buffer);
    ASSERT_TRUE(leftOut);
    EXPECT_EQ(buffer.pos(), 0);
    // Each range is one whole chunk or segment, named by its key.
    QList<QByteArray> left;
    for (const ByteRange& range : *leftOut) {
      const QByteArray bytes = data.mid(range.start, range.length);
      const QByteArray keys[] = {"Author", "Longer", "Long", "Short"};
      left << *std::find_if(std::begin(keys), std::end(keys), [&](const QByteArray& key) { return bytes.contains(key); });
      EXPECT_TRUE(bytes.startsWith("\xFF\xFE") || bytes.mid(4, 4).endsWith("Xt"));
    }
    EXPECT_EQ(left, (QList<QByteArray>{"Longer", "Short"}));
    QHash<QString, QString> text;
    ASSERT_TRUE(readImageFitting(buffer, QSize(8, 8), {}, &text)) << "the picture decodes without them";
    EXPECT_EQ(text.value(QStringLiteral("Author")), QStringLiteral("kept"));
    EXPECT_EQ(text.keys().size(), 2) << "Author and Long";
  }
}

// Every scan decodes each block again: what may be decoded is bounded by the
// count of scans, and by scans times pixels.
TEST_F(HostilePicturesTest, progressive_jpegs_of_too_many_scans_are_refused_and_those_of_the_usual_scans_are_not) {
  const std::tuple<const char*, int, int, bool> cases[] = {
      {"the usual scans", 64, 0, true},
      {"ten thousand scans", 64, 10'000, false},
      {"the usual scans of a large picture", 2000, 0, true},
      {"six hundred scans of four megapixels", 2000, 600, false},
  };
  for (const auto& [name, side, scans, decoded] : cases) {
    SCOPED_TRACE(name);
    const QString path = write("picture.jpg", apptest::jpegWithScans(gradient(side, side), scans));
    EXPECT_EQ(thumbnail(path).has_value(), decoded);
  }
}

}  // namespace
