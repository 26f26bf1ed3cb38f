#include "app/command_line.h"

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

}  // namespace app
