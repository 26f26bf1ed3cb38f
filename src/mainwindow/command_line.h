#pragma once
#include <string>

// The program's command line: the arguments after the program's name joined
// with single spaces, so that an unquoted path with spaces arrives whole.
// Kept with the main window's logic, below the application shell, because
// the window too reads the file to open from it.
namespace app {

enum CommandLineMode {
  COMMAND_LINE_NORMAL,   // start the player; a non-empty text is a file or address
  COMMAND_LINE_INSTALL,  // "-install": send the installation ping and exit
  COMMAND_LINE_REMOVE,   // "-remove": send the removal ping and exit
};

// argv[1] .. argv[argc - 1] joined with single spaces; "" without arguments.
std::string CommandLineText(int argc, const char* const* argv);

// The text compared whole and case-sensitively: only exactly "-install" and
// "-remove" are modes; " -install" or "-Install" is a file name.
CommandLineMode ModeOf(const std::string& commandLine);

// The file or address to open from a normal command line: the text with one
// leading and one trailing double quote removed, each only where present.
std::string StripSurroundingQuotes(const std::string& text);

}  // namespace app
