#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <string>

#include "platform/atomic_file.h"

class QIODevice;

// The playlist text file ("PlayList.dat", exported and imported lists): one
// item per line, its bytes as they are, CR LF after every line, an empty list
// is an empty file.

// Longest line text that is read back: a path buffer.
inline constexpr std::size_t kPlayListMaxLine = 4096;

// Replaces the file with the items (platform::WriteFileAtomically: a crash,
// a full disk or an I/O error never leaves half a list or an empty one). An
// item holding a line feed cannot be told apart from two items and is left
// out. 0, or the errno of the step that failed.
int WritePlayListFile(const std::string& path, const std::deque<std::string>& items,
                      const platform::AtomicWriteOptions& options = {});

// Calls onLine for every complete line, in file order, with its line end
// (LF, or CR LF) removed and cut at a NUL byte. A line longer than
// kPlayListMaxLine is skipped whole and reading goes on with the next one; a
// last line without a line end counts like the others. Only a regular file
// of at most platform::kMaxListFileBytes is read (a FIFO, a device or a
// bigger file gives no lines). False when there is no such file to read.
bool ReadPlayListFile(const std::string& path, const std::function<void(const std::string&)>& onLine);

// The same two over an open device (the files above, a buffer).
void WritePlayListLines(QIODevice& device, const std::deque<std::string>& items);
void ReadPlayListLines(QIODevice& device, const std::function<void(const std::string&)>& onLine);
