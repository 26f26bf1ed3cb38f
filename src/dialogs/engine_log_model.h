#pragma once
#include <QAbstractListModel>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

// The rows of the engine output window: one row per engine output line, kept
// as the engine's own bytes (so an export gives back exactly what was
// shown), converted to text only for the rows a view asks for.
//
// Lines arrive in batches; a batch is one insertion, so a view lays itself
// out once per batch rather than once per line. Only the newest kMaxRows
// rows are kept: a night of logging must not exhaust memory.
class EngineLogModel : public QAbstractListModel {
  Q_OBJECT

 public:
  static constexpr std::size_t kMaxRows = 100000;

  explicit EngineLogModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Appends the lines as the last rows, in order, then drops the oldest rows
  // beyond kMaxRows. The vector is emptied.
  void AppendBatch(std::vector<std::string>& lines);
  void Clear();

  const std::string& Row(std::size_t row) const { return rows_[row]; }
  std::size_t Size() const { return rows_.size(); }
  // The row that is widest on screen (by character cells: a wide East Asian
  // character takes two), kept even after the cap dropped it, so that the
  // horizontal scroll range never shrinks while the window is open. Empty
  // after Clear.
  const std::string& WidestRow() const { return widestRow_; }

  // Writes every row followed by CR LF to the file, replacing it whole
  // (platform::WriteFileAtomically; in place only when no new file can be
  // made in its folder). False when it cannot be written.
  bool Export(const std::string& path) const;

 private:
  std::deque<std::string> rows_;
  std::string widestRow_;
  std::size_t widestCells_ = 0;
};

// Character cells of UTF-8 text: one per character, two for the wide East
// Asian ranges (CJK, Hangul, full-width forms). Bytes that are not valid
// UTF-8 count one each.
std::size_t TextCells(const std::string& utf8);
