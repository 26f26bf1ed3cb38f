#include "dialogs/engine_log_model.h"

#include <algorithm>

#include "platform/atomic_file.h"

namespace {

// Continuation bytes after a UTF-8 lead byte; -1 for a byte that cannot lead.
int ContinuationBytes(unsigned char lead) {
  if (lead < 0x80) return 0;
  if ((lead & 0xE0) == 0xC0) return 1;
  if ((lead & 0xF0) == 0xE0) return 2;
  if ((lead & 0xF8) == 0xF0) return 3;
  return -1;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

}  // namespace

std::size_t TextCells(const std::string& utf8) {
  std::size_t cells = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    const unsigned char lead = *p;
    const int extra = ContinuationBytes(lead);
    if (extra < 0 || end - p <= extra) {
      ++cells;
      ++p;
      continue;
    }
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int i = 1; i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) valid = false;
      c = (c << 6) | (p[i] & 0x3F);
    }
    if (!valid) {
      ++cells;
      ++p;
      continue;
    }
    cells += IsWide(c) ? 2 : 1;
    p += extra + 1;
  }
  return cells;
}

EngineLogModel::EngineLogModel(QObject* parent) : QAbstractListModel(parent) {}

int EngineLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant EngineLogModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const std::string& row = rows_[static_cast<std::size_t>(index.row())];
  return QString::fromUtf8(row.data(), static_cast<qsizetype>(row.size()));
}

void EngineLogModel::AppendBatch(std::vector<std::string>& lines) {
  if (lines.empty()) return;
  // Lines the cap would drop at once are never inserted.
  const std::size_t skip = lines.size() > kMaxRows ? lines.size() - kMaxRows : 0;
  const std::size_t adding = lines.size() - skip;
  for (std::size_t i = skip; i < lines.size(); ++i) {
    const std::size_t cells = TextCells(lines[i]);
    if (cells > widestCells_) {
      widestCells_ = cells;
      widestRow_ = lines[i];
    }
  }
  // Old rows go first, so the model never holds more than the cap.
  const std::size_t excess = rows_.size() + adding > kMaxRows ? rows_.size() + adding - kMaxRows : 0;
  if (excess > 0) {
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(excess) - 1);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(excess));
    endRemoveRows();
  }
  const int first = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(adding) - 1);
  for (std::size_t i = skip; i < lines.size(); ++i) rows_.push_back(std::move(lines[i]));
  endInsertRows();
  lines.clear();
}

void EngineLogModel::Clear() {
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  widestRow_.clear();
  widestCells_ = 0;
  endResetModel();
}

bool EngineLogModel::Export(const std::string& path) const {
  std::string text;
  for (const std::string& row : rows_) {
    text += row;
    text += "\r\n";
  }
  // The user chose the file: a failed export leaves it as it was, unless no
  // new file can be made in its folder.
  platform::AtomicWriteOptions options;
  options.inPlaceFallback = true;
  return !path.empty() && platform::WriteFileAtomically(path, text, options) == 0;
}
