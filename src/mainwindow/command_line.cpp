#include "mainwindow/command_line.h"

namespace app {

std::string CommandLineText(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

CommandLineMode ModeOf(const std::string& commandLine) {
  if (commandLine == "-install") return COMMAND_LINE_INSTALL;
  if (commandLine == "-remove") return COMMAND_LINE_REMOVE;
  return COMMAND_LINE_NORMAL;
}

std::string StripSurroundingQuotes(const std::string& text) {
  std::string result = text;
  if (!result.empty() && result.front() == '"') result.erase(0, 1);
  if (!result.empty() && result.back() == '"') result.pop_back();
  return result;
}

}  // namespace app
