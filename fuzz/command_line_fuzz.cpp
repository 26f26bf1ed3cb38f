// Feeds arbitrary arguments (the bytes cut at zero bytes) to the reading of
// what a command line names, with an invented set of existing files, and
// what it names on through the hand-over to the running instance.
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/command_line.h"
#include "mainwindow/instance_hand_over.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find('\0', at);
    if (end == std::string::npos) end = text.size();
    arguments.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  // Names of an odd length exist: no file system in the loop.
  const auto exists = [](const std::string& path) { return path.size() % 2 == 1; };
  const app::CommandLineFiles files = app::FilesOfArguments(arguments, "/work", exists);
  assert(files.unknown.size() <= arguments.size());
  for (const std::string& path : files.paths) {
    assert(!path.empty());
    assert(path.find('\0') == std::string::npos);
  }
  if (files.paths.size() > 1 || !files.unknown.empty()) {
    // Taken one by one: each is an address or an existing absolute file.
    for (const std::string& path : files.paths) assert(path.find("://") != std::string::npos || path.front() == '/');
    assert(files.paths.size() + files.unknown.size() == arguments.size());
  }
  const instance::HandOverMessage message = instance::HandOverMessageOf(files.paths);
  std::vector<std::string> whole = instance::HandedOverPaths(message.bytes);
  whole.insert(whole.end(), message.leftOut.begin(), message.leftOut.end());
  assert(whole == files.paths);
  return 0;
}
