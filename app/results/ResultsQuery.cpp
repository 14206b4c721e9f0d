#include "results/ResultsQuery.h"

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Lower-cases an ASCII text in place; false (text unchanged) when it is not ASCII.
bool lowerAscii(QString& text) {
  for (const QChar c : std::as_const(text))
    if (c.unicode() >= 0x80) return false;
  for (QChar& c : text)
    if (c.unicode() >= u'A' && c.unicode() <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
  return true;
}

}  // namespace

QString trimmedQuery(const QString& query) {
  qsizetype begin = 0;
  qsizetype end = query.size();
  while (begin < end && isBlank(query[begin])) ++begin;
  while (end > begin && isBlank(query[end - 1])) --end;
  return query.mid(begin, end - begin);
}

// Most names and paths are plain ASCII, where folding is lower-casing.
QString foldedForSearch(const QString& text) {
  QString ascii = text;
  if (lowerAscii(ascii)) return ascii;
  const QString decomposed = text.normalized(QString::NormalizationForm_KD);
  QString folded;
  folded.reserve(decomposed.size());
  for (const QChar c : decomposed)
    if (c.category() != QChar::Mark_NonSpacing) folded.append(c);
  return folded.toCaseFolded();
}
