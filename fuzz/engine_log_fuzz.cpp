// Feeds arbitrary engine output lines into the output window's rows: the
// character-cell count of every line and the text a view asks for.
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/engine_log_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= input.size(); ++i) {
    if (i == input.size() || input[i] == '\n') {
      lines.push_back(input.substr(start, i - start));
      start = i + 1;
    }
  }
  std::size_t widest = 0;
  for (const std::string& line : lines) {
    const std::size_t cells = TextCells(line);
    assert(cells <= line.size() * 2);
    assert(line.empty() || cells > 0);
    widest = std::max(widest, cells);
  }
  EngineLogModel rows;
  const std::size_t count = lines.size();
  rows.AppendBatch(lines);
  assert(rows.Size() == count);
  assert(TextCells(rows.WidestRow()) == widest);
  for (int row = 0; row < rows.rowCount(); ++row) rows.data(rows.index(row)).toString();
  return 0;
}
