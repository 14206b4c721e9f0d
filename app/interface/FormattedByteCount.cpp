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

std::int64_t powerOfTen(int exponent) {
  std::int64_t power = 1;
  while (exponent-- > 0) power *= 10;
  return power;
}

// The amount in units of unitSize rounded to `decimals` places, counted in
// steps of the last place: 1.5 MB with one decimal is 15.
std::int64_t roundedSteps(std::uint64_t amount, std::uint64_t unitSize, int decimals) {
  return std::llround(static_cast<double>(amount) / static_cast<double>(unitSize) *
                      static_cast<double>(powerOfTen(decimals)));
}

// The rounded number without trailing zeros.
QString numberText(std::int64_t steps, int decimals) {
  while (decimals > 0 && steps % 10 == 0) {
    steps /= 10;
    --decimals;
  }
  return QLocale().toString(static_cast<double>(steps) / static_cast<double>(powerOfTen(decimals)), 'f', decimals);
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
  // The smallest unit in which the rounded amount stays below 1,000: an amount
  // that rounds up to 1,000 KB reads "1 MB".
  std::size_t unit = 1;
  std::uint64_t unitSize = 1000;
  while (unit + 1 < units.size() &&
         roundedSteps(amount, unitSize, decimalsFor(unit)) >= 1000 * powerOfTen(decimalsFor(unit))) {
    unitSize *= 1000;
    ++unit;
  }
  const int decimals = decimalsFor(unit);
  return tr(units[unit]).arg(numberText(roundedSteps(amount, unitSize, decimals), decimals));
}

QString formattedByteCount(std::uint64_t amount, bool estimated) {
  return (estimated ? tr("about ") : QString()) + formattedByteCount(amount);
}
