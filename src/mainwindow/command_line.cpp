#include "mainwindow/command_line.h"

#include <QByteArray>
#include <QUrl>
#include <algorithm>
#include <optional>

#include "platform/file_name.h"

namespace app {

namespace {

// "scheme://...": what the engine opens as an address.
bool IsAddress(const std::string& text) {
  const std::size_t colon = text.find("://");
  if (colon == std::string::npos || colon == 0) return false;
  const auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (!isAlpha(text[0])) return false;
  return std::all_of(text.begin() + 1, text.begin() + static_cast<std::ptrdiff_t>(colon), [&](char c) {
    return isAlpha(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
  });
}

bool IsFileUri(const std::string& text) {
  return text.size() > 7 && QByteArray::fromStdString(text.substr(0, 7)).toLower() == "file://";
}

std::optional<std::string> LocalPathOfUri(const std::string& uri) {
  return platform::LocalPathOfFileUrl(QUrl::fromEncoded(QByteArray::fromStdString(uri)));
}

std::string Absolute(const std::string& path, const std::string& workingFolder) {
  if (path.empty() || path.front() == '/' || IsAddress(path) || workingFolder.empty()) return path;
  return workingFolder + (workingFolder.back() == '/' ? "" : "/") + path;
}

// What one argument names: an address, or an existing local file made
// absolute; nothing otherwise.
std::optional<std::string> Openable(const std::string& argument, const std::string& workingFolder,
                                    const FileExists& exists) {
  if (IsFileUri(argument)) {
    const auto path = LocalPathOfUri(argument);
    if (path && exists(*path)) return path;
    return std::nullopt;
  }
  if (IsAddress(argument)) return argument;
  if (argument.empty()) return std::nullopt;
  const std::string path = Absolute(argument, workingFolder);
  if (exists(path)) return path;
  return std::nullopt;
}

}  // namespace

std::string CommandLineText(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

std::vector<std::string> CommandLineArguments(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "");
  return arguments;
}

CommandLineMode ModeOf(const std::string& commandLine) {
  if (commandLine == "-install") return COMMAND_LINE_INSTALL;
  if (commandLine == "-remove") return COMMAND_LINE_REMOVE;
  if (commandLine == "--help" || commandLine == "-h") return COMMAND_LINE_HELP;
  if (commandLine == "--version") return COMMAND_LINE_VERSION;
  return COMMAND_LINE_NORMAL;
}

std::string StripSurroundingQuotes(const std::string& text) {
  std::string result = text;
  if (!result.empty() && result.front() == '"') result.erase(0, 1);
  if (!result.empty() && result.back() == '"') result.pop_back();
  return result;
}

CommandLineFiles FilesOfArguments(const std::vector<std::string>& arguments, const std::string& workingFolder,
                                  const FileExists& exists) {
  std::string joined;
  for (std::size_t i = 0; i < arguments.size(); ++i) joined += (i ? " " : "") + arguments[i];
  const std::string whole = StripSurroundingQuotes(joined);
  CommandLineFiles files;
  // The upgrade helper's text has four quotes or more: left as it is.
  if (std::count(joined.begin(), joined.end(), '"') >= 4) {
    if (!whole.empty()) files.paths.push_back(whole);
    return files;
  }
  if (arguments.size() < 2) {
    if (whole.empty()) return files;
    const std::optional<std::string> local = IsFileUri(whole) ? LocalPathOfUri(whole) : std::nullopt;
    files.paths.push_back(local ? *local : Absolute(whole, workingFolder));
    return files;
  }
  if (const auto path = Openable(whole, workingFolder, exists); path && !IsAddress(*path)) {
    files.paths.push_back(*path);
    return files;
  }
  for (const std::string& argument : arguments) {
    if (const auto path = Openable(argument, workingFolder, exists))
      files.paths.push_back(*path);
    else
      files.unknown.push_back(argument);
  }
  if (!files.unknown.empty() && IsAddress(whole) && !IsFileUri(whole)) return {{whole}, {}};
  return files;
}

}  // namespace app
