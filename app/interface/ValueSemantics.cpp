#include "interface/ValueSemantics.h"

#include <QHash>

namespace {

QString canonical(const QString& text) { return text.normalized(QString::NormalizationForm_C); }

}  // namespace

bool sameText(const QString& a, const QString& b) { return a == b || canonical(a) == canonical(b); }

bool sameText(const QList<QString>& a, const QList<QString>& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (!sameText(a[i], b[i])) return false;
  return true;
}

bool sameText(const std::optional<QString>& a, const std::optional<QString>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || sameText(*a, *b);
}

HashFeed& HashFeed::add(std::uint64_t value) {
  hash_ ^= qHash(value) + 0x9e3779b97f4a7c15ULL + (hash_ << 6) + (hash_ >> 2);
  return *this;
}

HashFeed& HashFeed::add(const QString& text) { return add(static_cast<std::uint64_t>(qHash(canonical(text)))); }
