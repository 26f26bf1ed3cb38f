#pragma once
#include <QStringList>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "association/media_extensions.h"

// The filter of the open-file dialogs (main window and playlist window):
// "媒体文件 (所有类型)|*.3g2;*.3gp;...|所有文件 (*.*)|*.*|", UTF-8.

// The media pattern list stops growing once the text so far is longer than
// this many bytes, counted as the classic ANSI (GBK) code page counts them.
inline constexpr std::size_t kOpenFilterByteLimit = 210;

// The filter text from the process-wide tables.
std::string BuildOpenFilterText();
// The same rule over any tables (the first entry is always taken, even when
// excluded; the rest unless excluded, until the limit is passed).
std::string BuildOpenFilterText(std::span<const MediaExtension> table, std::span<const char* const> exclusions);

// Bytes the UTF-8 text would take in GBK: 1 per ASCII character, 2 per any
// other character (every Chinese character GBK holds is 2 bytes there).
// Stray continuation bytes count nothing.
std::size_t AnsiByteCount(std::string_view utf8);

// "name|patterns|name|patterns|" to QFileDialog::setNameFilters form: one
// "name (p1 p2 ...)" per pair. A trailing name without patterns, or a pair
// with no pattern, is dropped. The pattern "*.*" becomes "*", which is what
// it means: every file, with or without a dot. Set
// QFileDialog::HideNameFilterDetails to show the names exactly as in the text.
QStringList ToQtNameFilters(std::string_view filterText);
