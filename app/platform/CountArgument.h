// Counts in texts. A counted text's number argument (tr's n, shown through
// "%Ln" in the user's number format) is an int: counts past its range read as
// its largest value. A count put into a text by "%1" goes in as countText,
// in the user's number format too (digit grouping: "300,000").
#pragma once

#include <QLocale>
#include <QString>
#include <algorithm>
#include <climits>
#include <concepts>
#include <cstdint>

template <std::integral Count>
int countArgument(Count count) {
  if (count < 0) return 0;
  return static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), INT_MAX));
}

template <std::integral Count>
QString countText(Count count) {
  if constexpr (std::is_signed_v<Count>)
    return QLocale().toString(static_cast<qlonglong>(count));
  else
    return QLocale().toString(static_cast<qulonglong>(count));
}
