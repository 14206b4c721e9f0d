#include "folders/FolderListFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"

namespace FolderListFile {

namespace {

constexpr char hexDigits[] = "0123456789abcdef";

struct Escape {
  char byte;
  const char* written;
};

// Quotes, backslashes and the solidus, and the control characters that have
// a short form; other control characters are written as \u00xx.
constexpr Escape shortEscapes[] = {{'"', "\\\""}, {'\\', "\\\\"}, {'/', "\\/"},  {'\b', "\\b"},
                                   {'\f', "\\f"}, {'\n', "\\n"},  {'\r', "\\r"}, {'\t', "\\t"}};

void appendCharacter(QByteArray& out, char byte) {
  for (const Escape& escape : shortEscapes)
    if (escape.byte == byte) {
      out.append(escape.written);
      return;
    }
  if (static_cast<unsigned char>(byte) < 0x20)
    out.append("\\u00").append(hexDigits[(byte >> 4) & 0xf]).append(hexDigits[byte & 0xf]);
  else
    out.append(byte);
}

// Everything but the escaped characters goes out as raw UTF-8.
void appendString(QByteArray& out, const QString& text) {
  out.append('"');
  for (const char byte : text.toUtf8()) appendCharacter(out, byte);
  out.append('"');
}

void appendFolder(QByteArray& out, const Stored& folder) {
  out.append("{\"id\":");
  appendString(out, folder.id.toString(QUuid::WithoutBraces).toUpper());
  out.append(",\"path\":");
  appendString(out, folder.path);
  out.append(",\"bookmark\":");
  appendString(out, QString::fromLatin1(folder.bookmark.toBase64()));
  out.append('}');
}

bool isHexDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// The standard 36-character form, either letter case; no braces.
std::optional<QUuid> uuidFrom(const QString& text) {
  if (text.size() != 36) return std::nullopt;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? text[i] != QLatin1Char('-') : !isHexDigit(text[i])) return std::nullopt;
  }
  return QUuid::fromString(text);
}

// Standard alphabet, padded to a multiple of four characters.
std::optional<QByteArray> base64From(const QString& text) {
  if (text.size() % 4 != 0) return std::nullopt;
  auto decoded = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) return std::nullopt;
  return decoded.decoded;
}

std::optional<Stored> storedFrom(const QJsonValue& value) {
  if (!value.isObject()) return std::nullopt;
  const QJsonObject object = value.toObject();
  const QJsonValue id = object.value(QLatin1String("id"));
  const QJsonValue path = object.value(QLatin1String("path"));
  const QJsonValue bookmark = object.value(QLatin1String("bookmark"));
  if (!id.isString() || !path.isString() || !bookmark.isString()) return std::nullopt;
  const auto uuid = uuidFrom(id.toString());
  const auto bytes = base64From(bookmark.toString());
  if (!uuid || !bytes) return std::nullopt;
  return Stored{*uuid, path.toString(), *bytes};
}

std::optional<FolderError> makeParentFolder(const QString& filePath) {
  std::error_code error;
  std::filesystem::create_directories(QFile::encodeName(QFileInfo(filePath).path()).toStdString(), error);
  if (error) return FolderLog::errnoError(error.value());
  return std::nullopt;
}

}  // namespace

QByteArray encode(const QList<Stored>& folders) {
  QByteArray out("[");
  for (qsizetype i = 0; i < folders.size(); ++i) {
    if (i > 0) out.append(',');
    appendFolder(out, folders[i]);
  }
  return out.append(']');
}

std::optional<QList<Stored>> decode(const QByteArray& bytes) {
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
  if (error.error != QJsonParseError::NoError || !document.isArray()) return std::nullopt;
  QList<Stored> folders;
  for (const QJsonValue& value : document.array()) {
    auto folder = storedFrom(value);
    if (!folder) return std::nullopt;
    folders.append(std::move(*folder));
  }
  return folders;
}

quelmaris::Result<QList<Stored>, FolderError> read(const QString& filePath) {
  const auto bytes = readRegularFile(filePath, sizeLimit);
  if (!bytes) return quelmaris::Failure{FolderLog::errnoError(bytes.error())};
  auto folders = decode(bytes.value());
  if (!folders) return quelmaris::Failure{FolderError{notAFolderList, 0, QStringLiteral("Not a folder list")}};
  return std::move(*folders);
}

bool isAbsent(const FolderError& error) {
  return error.domain == FolderLog::errnoError(0).domain && (error.code == ENOENT || error.code == ENOTDIR);
}

std::optional<FolderError> write(const QString& filePath, const QList<Stored>& folders) {
  if (auto error = makeParentFolder(filePath)) return error;
  if (const int error = writeFileAtomically(filePath, encode(folders))) return FolderLog::errnoError(error);
  return std::nullopt;
}

}  // namespace FolderListFile
