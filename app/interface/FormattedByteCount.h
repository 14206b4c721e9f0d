// A byte amount as text for every view: decimal file-size units (1 KB is
// 1,000 bytes), zero spelled out, the current locale's numbers, never the
// exact byte count beside it.
#pragma once

#include <QString>
#include <cstdint>

QString formattedByteCount(std::uint64_t amount);
// The same, preceded by "about " when the amount is an estimate.
QString formattedByteCount(std::uint64_t amount, bool estimated);
