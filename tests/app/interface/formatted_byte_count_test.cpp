#include <gtest/gtest.h>

#include <QLocale>
#include <cstdint>
#include <limits>

#include "interface/FormattedByteCount.h"

namespace {

class FormattedByteCount : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(FormattedByteCount, amounts_take_decimal_units_with_their_own_precision_and_the_locales_separator) {
  // clang-format off
  const std::pair<std::uint64_t, const char*> rows[] = {
      {0, "Zero KB"}, {1, "1 byte"}, {999, "999 bytes"}, {1000, "1 KB"}, {1500, "2 KB"}, {999'499, "999 KB"},
      {1'500'000, "1.5 MB"}, {2'000'000, "2 MB"}, {1'234'567'890, "1.23 GB"}, {1'200'000'000'000, "1.2 TB"},
      {9'223'372'036'854'775'807ULL, "9.22 EB"}, {std::numeric_limits<std::uint64_t>::max(), "9.22 EB"},
      // An amount that rounds up to 1,000 of a unit reads as 1 of the next.
      {999'500, "1 MB"}, {999'999, "1 MB"}, {999'949'999, "999.9 MB"}, {999'950'000, "1 GB"},
      {999'994'999'999, "999.99 GB"}, {999'995'000'000, "1 TB"}, {999'999'999'999'999, "1 PB"},
  };
  // clang-format on
  for (const auto& [amount, text] : rows) EXPECT_EQ(formattedByteCount(amount), QString::fromLatin1(text)) << amount;
  // The decimal separator follows the current locale.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(formattedByteCount(1'500'000), QStringLiteral("1,5 MB"));
}

}  // namespace
