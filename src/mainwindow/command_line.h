#pragma once
#include <functional>
#include <string>
#include <vector>

// The program's command line: the arguments after the program's name joined
// with single spaces, so that an unquoted path with spaces arrives whole.
// Kept with the main window's logic, below the application shell, because
// the window too reads the files to open from it.
namespace app {

enum CommandLineMode {
  COMMAND_LINE_NORMAL,   // start the player; the arguments name what to play
  COMMAND_LINE_INSTALL,  // "-install": send the installation ping and exit
  COMMAND_LINE_REMOVE,   // "-remove": send the removal ping and exit
  COMMAND_LINE_HELP,     // "--help" or "-h": print the usage and exit
  COMMAND_LINE_VERSION,  // "--version": print the version and exit
};

// argv[1] .. argv[argc - 1] joined with single spaces; "" without arguments.
std::string CommandLineText(int argc, const char* const* argv);
// argv[1] .. argv[argc - 1], one by one.
std::vector<std::string> CommandLineArguments(int argc, const char* const* argv);

// The text compared whole and case-sensitively: only exactly "-install",
// "-remove", "--help", "-h" and "--version" are modes; " -install" or
// "-Install" is a file name.
CommandLineMode ModeOf(const std::string& commandLine);

// The file or address to open from a normal command line: the text with one
// leading and one trailing double quote removed, each only where present.
std::string StripSurroundingQuotes(const std::string& text);

// What the arguments of a normal start ask to play.
struct CommandLineFiles {
  // The first plays; when there are several, all are queued in this order.
  // Local files are absolute, addresses as given.
  std::vector<std::string> paths;
  // Arguments that name no file and no address: skipped, to be reported.
  std::vector<std::string> unknown;
};

// Whether an absolute local path names a file that can be opened.
using FileExists = std::function<bool(const std::string& path)>;

// The upgrade helper's text (four double quotes or more) is taken whole,
// surrounding quotes removed, as it always was. So is one argument, with a
// file:// URI turned into its local path and a relative path made absolute
// against workingFolder; it is not looked up, so the player itself says
// why it cannot be played.
// Several arguments: their joined text when it names an existing file (a
// name with spaces needs no quotes); otherwise all of them when each is a
// file or an address; otherwise the joined text when it is an address (an
// address with spaces); otherwise those that are files or addresses, the
// others going to unknown.
CommandLineFiles FilesOfArguments(const std::vector<std::string>& arguments, const std::string& workingFolder,
                                  const FileExists& exists);

}  // namespace app
