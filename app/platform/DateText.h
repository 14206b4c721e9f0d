// Dates as the views show them: an abbreviated date and a short time in the
// current locale and time zone ("Dec 7, 2026 1:20 AM"), and the conversion of
// the scan's nanoseconds since 1970, which may lie before 1970.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

QDateTime dateFromNanoseconds(std::int64_t nanoseconds);
QString abbreviatedDateTime(const QDateTime& date);
