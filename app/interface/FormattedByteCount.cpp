#include "interface/FormattedByteCount.h"

#include <QCoreApplication>
#include <QLocale>
#include <array>
#include <cmath>
#include <limits>

namespace {

QString tr(const char* text) { return QCoreApplication::translate("FormattedByteCount", text); }

// KB without decimals, MB with up to one, larger units with up to two.
int decimalsFor(std::size_t unit) { return unit == 1 ? 0 : unit == 2 ? 1 : 2; }

// The number rounded to at most maxDecimals, without trailing zeros.
QString numberText(double value, int maxDecimals) {
  int decimals = maxDecimals;
  auto scaled = static_cast<std::int64_t>(std::llround(value * std::pow(10.0, decimals)));
  while (decimals > 0 && scaled % 10 == 0) {
    scaled /= 10;
    --decimals;
  }
  return QLocale().toString(static_cast<double>(scaled) / std::pow(10.0, decimals), 'f', decimals);
}

}  // namespace

QString formattedByteCount(std::uint64_t amount) {
  constexpr auto largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (amount > largest) amount = largest;
  if (amount == 0) return tr("Zero KB");
  if (amount == 1) return tr("1 byte");
  if (amount < 1000) return tr("%1 bytes").arg(QLocale().toString(static_cast<qulonglong>(amount)));

  static const std::array<const char*, 7> units = {"",
                                                   QT_TRANSLATE_NOOP("FormattedByteCount", "%1 KB"),
                                                   QT_TRANSLATE_NOOP("FormattedByteCount", "%1 MB"),
                                                   QT_TRANSLATE_NOOP("FormattedByteCount", "%1 GB"),
                                                   QT_TRANSLATE_NOOP("FormattedByteCount", "%1 TB"),
                                                   QT_TRANSLATE_NOOP("FormattedByteCount", "%1 PB"),
                                                   QT_TRANSLATE_NOOP("FormattedByteCount", "%1 EB")};
  std::size_t unit = 1;
  std::uint64_t unitSize = 1000;
  while (unit + 1 < units.size() && amount / unitSize >= 1000) {
    unitSize *= 1000;
    ++unit;
  }
  const double value = static_cast<double>(amount) / static_cast<double>(unitSize);
  return tr(units[unit]).arg(numberText(value, decimalsFor(unit)));
}

QString formattedByteCount(std::uint64_t amount, bool estimated) {
  return (estimated ? tr("about ") : QString()) + formattedByteCount(amount);
}
