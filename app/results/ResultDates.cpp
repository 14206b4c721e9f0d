#include "results/ResultDates.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {

// The locale's long date without its weekday and with the short month name,
// then its short time without seconds.
QString dateTimeFormat(const QLocale& locale) {
  QString date = locale.dateFormat(QLocale::LongFormat);
  date.remove(QRegularExpression(QStringLiteral("dddd[,.]?\\s*")));
  date.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
  QString time = locale.timeFormat(QLocale::ShortFormat);
  time.remove(QRegularExpression(QStringLiteral("[:.]ss?")));
  return date.trimmed() + QLatin1Char(' ') + time;
}

}  // namespace

QString resultDateText(double secondsSince1970) {
  static const QLocale locale;
  static const QString format = dateTimeFormat(locale);
  const auto ms = static_cast<qint64>(std::floor(secondsSince1970 * 1000));
  return locale.toString(QDateTime::fromMSecsSinceEpoch(ms), format);
}
