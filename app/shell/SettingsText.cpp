#include "shell/SettingsText.h"

#include <QDataStream>
#include <QDateTime>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <optional>
#include <utility>

namespace SettingsText {

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

bool isHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Keys: letters, digits, "_", "-" and "." as they are, "/" as "\", other
// characters as %XX or %UXXXX.
void appendKey(QByteArray& out, const QString& key) {
  for (const QChar qc : key) {
    const char16_t c = qc.unicode();
    if (c == u'/') {
      out += '\\';
    } else if ((c < 0x80 && QChar::isLetterOrNumber(c)) || c == u'_' || c == u'-' || c == u'.') {
      out += static_cast<char>(c);
    } else if (c <= 0xFF) {
      out += '%';
      out += hexDigits[c >> 4];
      out += hexDigits[c & 0xF];
    } else {
      out += "%U";
      for (int shift = 12; shift >= 0; shift -= 4) out += hexDigits[(c >> shift) & 0xF];
    }
  }
}

QString streamed(const QVariant& value, QDataStream::Version version, const char* tag) {
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream.setVersion(version);
  stream << value;
  return QLatin1String(tag) + QLatin1String(bytes) + u')';
}

QString valueText(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::UnknownType:
      return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray:
      return QStringLiteral("@ByteArray(") + QLatin1String(value.toByteArray()) + u')';
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Float:
    case QMetaType::Double: {
      const QString text = value.toString();
      if (text.contains(QChar::Null)) return QStringLiteral("@String(") + text + u')';
      return text.startsWith(u'@') ? u'@' + text : text;
    }
    case QMetaType::QDateTime:
      return streamed(value, QDataStream::Qt_5_6, "@DateTime(");
    default:
      return streamed(value, QDataStream::Qt_4_0, "@Variant(");
  }
}

// Control characters escaped, and in the raw forms every character past
// ASCII too (their text is bytes); a hexadecimal escape is never followed by
// a bare hex digit, which it would take in. Other text goes out as UTF-8.
void appendText(QByteArray& out, const QString& text) {
  const bool raw = text.startsWith(QLatin1String("@ByteArray(")) || text.startsWith(QLatin1String("@Variant(")) ||
                   text.startsWith(QLatin1String("@DateTime("));
  QString written;
  bool quoted = false;
  bool afterHexEscape = false;
  for (const QChar qc : text) {
    const char16_t c = qc.unicode();
    if (c == u';' || c == u',' || c == u'=') quoted = true;
    const bool hex = c < 0x20 || (raw && c >= 0x7F) || (afterHexEscape && isHexDigit(c));
    afterHexEscape = false;
    const char* named = c == u'\n' ? "\\n" : c == u'\r' ? "\\r" : c == u'\t' ? "\\t" : nullptr;
    if (c == u'"' || c == u'\\') {
      written += u'\\';
      written += qc;
    } else if (named != nullptr) {
      written += QLatin1String(named);
    } else if (hex) {
      written += QStringLiteral("\\x") + QString::number(c, 16);
      afterHexEscape = true;
    } else {
      written += qc;
    }
  }
  if (quoted || written.startsWith(u' ') || written.endsWith(u' ')) written = u'"' + written + u'"';
  out += written.toUtf8();
}

void appendValue(QByteArray& out, const QVariant& value) {
  const bool list = value.metaType().id() == QMetaType::QStringList ||
                    (value.metaType().id() == QMetaType::QVariantList && value.toList().size() != 1);
  if (!list) return appendText(out, valueText(value));
  const QVariantList items = value.toList();
  if (items.isEmpty()) out += "@Invalid()";
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (i > 0) out += ", ";
    appendText(out, valueText(items[i]));
  }
}

QString unescapedKey(QByteArrayView bytes) {
  const QString key = QString::fromUtf8(bytes);
  QString result;
  for (qsizetype i = 0; i < key.size(); ++i) {
    if (key[i] == u'\\') {
      result += u'/';
      continue;
    }
    const qsizetype digits = key[i] == u'%' && i + 1 < key.size() && key[i + 1] == u'U' ? 4 : 2;
    const qsizetype first = i + 1 + (digits == 4 ? 1 : 0);
    bool ok = false;
    const ushort code = key[i] == u'%' && first + digits <= key.size()
                            ? QStringView(key).sliced(first, digits).toUShort(&ok, 16)
                            : ushort{0};
    if (!ok) {
      result += key[i];
      continue;
    }
    result += QChar(code);
    i = first + digits - 1;
  }
  return result;
}

std::optional<QStringList> arguments(const QString& text, qsizetype open, qsizetype count) {
  const QStringList parts = text.mid(open + 1).chopped(1).split(u' ');
  if (parts.size() != count) return std::nullopt;
  return parts;
}

QVariant streamedValue(const QString& text, qsizetype open, QDataStream::Version version) {
  QByteArray bytes = QStringView(text).sliced(open + 1).chopped(1).toLatin1();
  QDataStream stream(&bytes, QIODevice::ReadOnly);
  stream.setVersion(version);
  QVariant value;
  stream >> value;
  return value;
}

// The value a text written by valueText() stands for.
QVariant valueOf(const QString& text) {
  if (!text.startsWith(u'@')) return text;
  if (text.endsWith(u')')) {
    const qsizetype open = text.indexOf(u'(');
    const QStringView tag = QStringView(text).first(std::max<qsizetype>(open, 0));
    const QStringView inner = QStringView(text).sliced(open + 1).chopped(1);
    if (tag == u"@ByteArray") return inner.toLatin1();
    if (tag == u"@String") return inner.toString();
    if (tag == u"@Variant") return streamedValue(text, open, QDataStream::Qt_4_0);
    if (tag == u"@DateTime") return streamedValue(text, open, QDataStream::Qt_5_6);
    if (tag == u"@Invalid" && inner.isEmpty()) return QVariant();
    if (const auto args = arguments(text, open, 4); tag == u"@Rect" && args)
      return QRect(args->at(0).toInt(), args->at(1).toInt(), args->at(2).toInt(), args->at(3).toInt());
    if (const auto args = arguments(text, open, 2); tag == u"@Size" && args)
      return QSize(args->at(0).toInt(), args->at(1).toInt());
    if (const auto args = arguments(text, open, 2); tag == u"@Point" && args)
      return QPoint(args->at(0).toInt(), args->at(1).toInt());
  }
  return text.startsWith(QLatin1String("@@")) ? QVariant(text.mid(1)) : QVariant(text);
}

QVariant listValue(const QStringList& items) {
  QStringList texts;
  QVariantList values;
  bool plain = true;
  for (const QString& item : items) {
    plain = plain && (!item.startsWith(u'@') || item.startsWith(QLatin1String("@@")));
    texts.append(item.startsWith(QLatin1String("@@")) ? item.mid(1) : item);
    values.append(valueOf(item));
  }
  return plain ? QVariant(texts) : QVariant(values);
}

void chopTrailingBlanks(QString& text, qsizetype limit) {
  while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t')) text.chop(1);
}

// The length of the line break at i: CR LF and LF CR are one, as a lone CR
// or LF is; 0 where none begins.
qsizetype lineBreakLength(QByteArrayView text, qsizetype i) {
  if (i >= text.size() || (text[i] != '\n' && text[i] != '\r')) return 0;
  return i + 1 < text.size() && (text[i + 1] == '\n' || text[i + 1] == '\r') && text[i + 1] != text[i] ? 2 : 1;
}

// Reads one escape after the backslash at i; i ends past it.
void appendEscape(QString& out, QByteArrayView text, qsizetype& i) {
  static constexpr std::pair<char, char16_t> named[] = {{'a', u'\a'}, {'b', u'\b'},  {'f', u'\f'}, {'n', u'\n'},
                                                        {'r', u'\r'}, {'t', u'\t'},  {'v', u'\v'}, {'"', u'"'},
                                                        {'?', u'?'},  {'\'', u'\''}, {'\\', u'\\'}};
  const char c = text[i++];
  for (const auto& [letter, meaning] : named) {
    if (c != letter) continue;
    out += QChar(meaning);
    return;
  }
  const bool hex = c == 'x' && i < text.size() && hexValue(text[i]) >= 0;
  const bool octal = c >= '0' && c <= '7';
  if (!hex && !octal) {
    // A backslash before a line break joins the lines; before anything else it is dropped.
    if (const qsizetype length = lineBreakLength(text, i - 1); length > 1) i += length - 1;
    return;
  }
  const int base = hex ? 16 : 8;
  char16_t code = octal ? char16_t(c - '0') : 0;
  for (; i < text.size(); ++i) {
    const int digit = hex ? hexValue(text[i]) : (text[i] >= '0' && text[i] <= '7') ? text[i] - '0' : -1;
    if (digit < 0) break;
    code = char16_t(code * base + digit);
  }
  out += QChar(code);
}

// A value's text: quoted parts kept as they are, unquoted ones trimmed, and
// an unquoted "," making a list.
QVariant parsedValue(QByteArrayView text) {
  QString current;
  QStringList items;
  bool list = false, inQuotes = false, quoted = false;
  qsizetype i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  skipBlanks();
  qsizetype chopLimit = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\\') {
      if (++i >= text.size()) break;
      appendEscape(current, text, i);
      chopLimit = current.size();
    } else if (c == '"') {
      ++i;
      quoted = true;
      inQuotes = !inQuotes;
      if (!inQuotes) skipBlanks();
    } else if (c == ',' && !inQuotes) {
      if (!quoted) chopTrailingBlanks(current, chopLimit);
      list = true;
      items.append(current);
      current.clear();
      chopLimit = 0;
      quoted = false;
      ++i;
      skipBlanks();
    } else {
      qsizetype end = i + 1;
      while (end < text.size() && text[end] != '\\' && text[end] != '"' && (text[end] != ',' || inQuotes)) ++end;
      current += QString::fromUtf8(text.sliced(i, end - i));
      i = end;
    }
  }
  if (!quoted) chopTrailingBlanks(current, chopLimit);
  if (!list) return valueOf(current);
  items.append(current);
  return listValue(items);
}

struct Line {
  QByteArrayView text;
  qsizetype equals = -1;  // in text; -1 when it has no "=" outside quotes
};

// The next line from pos on, blank lines and comments passed over; a line
// ends at a line break or a ";" outside quotes, and goes on past a line
// break, CR LF included, that follows a backslash.
std::optional<Line> nextLine(QByteArrayView data, qsizetype& pos) {
  for (;;) {
    while (pos < data.size() && (data[pos] == ' ' || data[pos] == '\t' || data[pos] == '\n' || data[pos] == '\r'))
      ++pos;
    if (pos >= data.size()) return std::nullopt;
    const qsizetype start = pos;
    Line line;
    bool inQuotes = false;
    for (; pos < data.size(); ++pos) {
      const char c = data[pos];
      if (c == '\\') {
        pos += std::max<qsizetype>(lineBreakLength(data, pos + 1), 1);
      } else if (c == '"') {
        inQuotes = !inQuotes;
      } else if (c == '=' && !inQuotes && line.equals < 0) {
        line.equals = pos - start;
      } else if ((c == '\n' || c == '\r' || c == ';') && !inQuotes) {
        break;
      }
    }
    pos = std::min(pos, data.size());
    line.text = data.sliced(start, pos - start);
    if (pos < data.size() && data[pos] == ';')
      while (pos < data.size() && data[pos] != '\n' && data[pos] != '\r') ++pos;
    if (!line.text.isEmpty()) return line;
  }
}

QString sectionPrefix(QByteArrayView heading) {
  const qsizetype close = heading.indexOf(']');
  const QByteArrayView name = heading.sliced(1, (close < 0 ? heading.size() : close) - 1).trimmed();
  if (name.compare("general", Qt::CaseInsensitive) == 0) return QString();
  if (name.compare("%general", Qt::CaseInsensitive) == 0) return QStringLiteral("General/");
  const QString section = unescapedKey(name);
  return section.isEmpty() ? QString() : section + u'/';
}

}  // namespace

QByteArray encode(const QSettings::SettingsMap& settings) {
  if (settings.isEmpty()) return {};
  QByteArray out("[General]\n");
  for (auto entry = settings.cbegin(); entry != settings.cend(); ++entry) {
    appendKey(out, entry.key());
    out += '=';
    appendValue(out, entry.value());
    out += '\n';
  }
  return out;
}

QSettings::SettingsMap decode(QByteArrayView text) {
  if (text.startsWith("\xef\xbb\xbf")) text = text.sliced(3);
  QSettings::SettingsMap settings;
  QString prefix;
  qsizetype pos = 0;
  while (const auto line = nextLine(text, pos)) {
    if (line->text.startsWith('[')) {
      prefix = sectionPrefix(line->text);
    } else if (line->equals >= 0) {
      const QString key = unescapedKey(line->text.first(line->equals).trimmed());
      if (!key.isEmpty()) settings.insert(prefix + key, parsedValue(line->text.sliced(line->equals + 1)));
    }
  }
  return settings;
}

}  // namespace SettingsText
