#include "media/disc_scan.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

const std::array<DiscLayout, 3> kDiscLayouts{{
    {"DVD", "VIDEO_TS/", ".VOB"},
    {"VCD", "MPEGAV/", ".DAT"},
    {"SVCD", "MPEG2/", ".DAT"},
}};

namespace {

std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool IsDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// Names of the folder's entries in listing order; empty when it cannot be read.
std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  return names;
}

// The layout folder's name as it is on the disc ("VIDEO_TS" or "video_ts"),
// or "" when the disc has no such folder.
std::string FindLayoutFolder(const std::string& root, std::string name) {
  if (IsDirectory(root + name)) return name;
  for (const std::string& entry : ListFolder(root)) {
    if (AsciiUpper(entry) == name && IsDirectory(root + entry)) return entry;
  }
  return {};
}

}  // namespace

std::deque<std::string> ScanDisc(const std::string& drive) {
  std::deque<std::string> files;
  if (drive.empty()) return files;
  const std::string root = drive.back() == '/' ? drive : drive + "/";
  if (!IsDirectory(root)) return files;
  for (const DiscLayout& layout : kDiscLayouts) {
    std::string folderName(layout.folder);
    folderName.pop_back();  // the trailing '/'
    const std::string found = FindLayoutFolder(root, folderName);
    if (found.empty()) continue;
    const std::string folder = root + found + "/";
    for (const std::string& name : ListFolder(folder)) {
      if (IsDirectory(folder + name)) continue;
      const std::size_t dot = name.rfind('.');
      const std::string extension = dot == std::string::npos ? std::string() : AsciiUpper(name.substr(dot));
      if (extension == layout.extension) files.push_back(folder + name);
    }
    if (!files.empty()) break;
  }
  return files;
}
