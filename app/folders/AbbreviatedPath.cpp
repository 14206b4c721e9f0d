#include "folders/AbbreviatedPath.h"

#include <pwd.h>
#include <unistd.h>

#include <QFile>
#include <QTextBoundaryFinder>

namespace {

std::optional<QString> userHomeFolder() {
  const passwd* entry = getpwuid(getuid());
  if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] == '\0') return std::nullopt;
  return QFile::decodeName(entry->pw_dir);
}

qsizetype graphemeCount(const QString& text) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  qsizetype count = 0;
  while (finder.toNextBoundary() > 0) ++count;
  return count;
}

// The code-unit offset just after the first `count` graphemes of text.
qsizetype offsetAfterGraphemes(const QString& text, qsizetype count) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  qsizetype offset = 0;
  for (qsizetype i = 0; i < count && offset >= 0; ++i) offset = finder.toNextBoundary();
  return offset < 0 ? text.size() : offset;
}

}  // namespace

QString abbreviatedPath(const QString& path) { return abbreviatedPath(path, userHomeFolder()); }

QString abbreviatedPath(const QString& path, const std::optional<QString>& home) {
  if (!home) return path;
  // Canonically equivalent texts compare equal: both sides in one normal form.
  const QString canonicalPath = path.normalized(QString::NormalizationForm_C);
  const QString canonicalHome = home->normalized(QString::NormalizationForm_C);
  if (canonicalPath == canonicalHome) return QStringLiteral("~");
  if (!canonicalPath.startsWith(canonicalHome + u'/')) return path;
  return u'~' + path.mid(offsetAfterGraphemes(path, graphemeCount(*home)));
}
