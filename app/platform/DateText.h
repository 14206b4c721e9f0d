// Dates as the views show them: an abbreviated date and a short time without
// seconds in the current locale and time zone ("Dec 7, 2026 1:20 AM"), and
// the conversion of the scan's times since 1970, which may lie before 1970.
#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

QDateTime dateFromNanoseconds(std::int64_t nanoseconds);
QDateTime dateFromSeconds(double seconds);
QString abbreviatedDateTime(const QDateTime& date);
