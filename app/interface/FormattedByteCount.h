// A byte amount as text for every view: decimal file-size units (1 KB is
// 1,000 bytes), zero spelled out, the current locale's numbers, never the
// exact byte count beside it. An estimate's "about " is the view's to add.
#pragma once

#include <QString>
#include <cstdint>

QString formattedByteCount(std::uint64_t amount);
