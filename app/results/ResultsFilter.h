// Which results the table shows: the duplicate sets or the lookalike groups,
// offered in declaration order by the summary bar's "Show" picker.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

enum class ResultsFilter : std::uint8_t { duplicates, lookalikes };

inline constexpr std::array<ResultsFilter, 2> allResultsFilters{ResultsFilter::duplicates, ResultsFilter::lookalikes};

// The localised label of the case ("Duplicates", "Same Name, Different Content").
QString title(ResultsFilter filter);
