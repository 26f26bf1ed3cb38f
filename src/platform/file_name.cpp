#include "platform/file_name.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(path), error);
}

// The entry of folder that Qt shows as name; empty when there is none.
std::string EntryShownAs(const std::string& folder, const QString& name) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder.empty() ? "/" : folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (QFile::decodeName(QByteArray::fromStdString(entry)) == name) return entry;
  }
  return {};
}

}  // namespace

QString FileNameToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string FileNameFromQt(const QString& path) {
  const std::string encoded = QFile::encodeName(path).toStdString();
  // Only a name Qt could not decode shows the replacement character.
  if (!path.contains(QChar::ReplacementCharacter) || Exists(encoded)) return encoded;
  const QStringList parts = path.split('/');
  std::string result = QFile::encodeName(parts.front()).toStdString();
  for (qsizetype i = 1; i < parts.size(); ++i) {
    std::string part = QFile::encodeName(parts[i]).toStdString();
    if (parts[i].contains(QChar::ReplacementCharacter) && !Exists(result + "/" + part)) {
      const std::string found = EntryShownAs(result, parts[i]);
      if (!found.empty()) part = found;
    }
    result += "/" + part;
  }
  return result;
}

std::string LocalFileFromUrl(const QUrl& url) {
  if (!url.isLocalFile()) return {};
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

std::optional<std::string> LocalPathOfFileUrl(const QUrl& url) {
  if (!url.isValid() || (!url.host().isEmpty() && url.host() != "localhost")) return std::nullopt;
  std::string path = LocalFileFromUrl(url);
  const auto isControl = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; };
  if (path.empty() || path.front() != '/' || std::any_of(path.begin(), path.end(), isControl)) return std::nullopt;
  return path;
}

QString DisplayName(const std::string& bytes) {
  const QByteArray data = QByteArray::fromStdString(bytes);
  // Stateless: a sequence cut at the end is an error, not kept for later.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(data);
  if (!utf8.hasError()) return text;
  QStringDecoder gbk("GB18030", QStringDecoder::Flag::Stateless);
  if (gbk.isValid()) {
    const QString read = gbk.decode(data);
    if (!gbk.hasError()) return read;
  }
  return text;  // neither: replacement characters where the bytes fit nothing
}

}  // namespace platform
