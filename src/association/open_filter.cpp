#include "association/open_filter.h"

std::size_t AnsiByteCount(std::string_view utf8) {
  std::size_t bytes = 0;
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      bytes += 1;
    } else if ((b & 0xC0) != 0x80) {  // lead byte of a multi-byte character
      bytes += 2;
    }
  }
  return bytes;
}

std::string BuildOpenFilterText(std::span<const MediaExtension> table, std::span<const char* const> exclusions) {
  std::string text = "媒体文件 (所有类型)|";
  if (!table.empty()) {
    text += "*";
    text += table.front().extension;
    for (const MediaExtension& entry : table.subspan(1)) {
      if (AnsiByteCount(text) > kOpenFilterByteLimit) break;
      if (IsFilterExcluded(entry.extension, exclusions)) continue;
      text += ";*";
      text += entry.extension;
    }
  }
  text += "|所有文件 (*.*)|*.*|";
  return text;
}

std::string BuildOpenFilterText() { return BuildOpenFilterText(kMediaExtensionTable, kFilterExclusionList); }

QStringList ToQtNameFilters(std::string_view filterText) {
  const QStringList parts = QString::fromUtf8(filterText.data(), static_cast<qsizetype>(filterText.size())).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    if (patterns.isEmpty()) continue;
    // "*.*" means every file, but Qt matches it literally: a name without a
    // dot would be hidden.
    for (QString& pattern : patterns)
      if (pattern == "*.*") pattern = "*";
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters;
}
