#include "platform/DateText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

QDateTime dateFromNanoseconds(std::int64_t nanoseconds) {
  // Rounded down, so that a moment before 1970 stays before it.
  const auto milliseconds = static_cast<qint64>(std::floor(static_cast<double>(nanoseconds) / 1e6));
  return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC).toLocalTime();
}

QString abbreviatedDateTime(const QDateTime& date) {
  const QLocale locale;
  // The locale's long date without the weekday, its month abbreviated.
  QString format = locale.dateFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("dddd[,.]?\\s*")));
  format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
  return locale.toString(date, format.trimmed() + u' ' + locale.timeFormat(QLocale::ShortFormat));
}
