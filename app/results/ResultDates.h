// The date and time of the results' Created and Modified cells: year,
// abbreviated month, day, hour (with AM/PM where the locale uses it) and
// minute, in local time and the current locale's order.
#pragma once

#include <QString>

QString resultDateText(double secondsSince1970);
