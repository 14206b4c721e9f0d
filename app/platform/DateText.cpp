#include "platform/DateText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

QDateTime dateFromNanoseconds(std::int64_t nanoseconds) {
  // Rounded down, so that a moment before 1970 stays before it.
  const auto milliseconds = static_cast<qint64>(std::floor(static_cast<double>(nanoseconds) / 1e6));
  return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC).toLocalTime();
}

QDateTime dateFromSeconds(double seconds) {
  return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(seconds * 1000)), Qt::UTC).toLocalTime();
}

namespace {

// The locale's long date without its weekday and with the short month name,
// then its short time without seconds.
QString abbreviatedFormat(const QLocale& locale) {
  QString date = locale.dateFormat(QLocale::LongFormat);
  date.remove(QRegularExpression(QStringLiteral("dddd[,.]?\\s*")));
  date.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
  QString time = locale.timeFormat(QLocale::ShortFormat);
  time.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
  return date.trimmed() + u' ' + time;
}

}  // namespace

// The format is made once: a results table asks for it in every painted cell.
QString abbreviatedDateTime(const QDateTime& date) {
  static const QLocale locale;
  static const QString format = abbreviatedFormat(locale);
  return locale.toString(date, format);
}
