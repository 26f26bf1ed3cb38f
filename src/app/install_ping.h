#pragma once
#include <string>

#include "mainwindow/command_line.h"

// The installation and removal notices: one HTTP GET to the statistics
// server, whose answer nobody looks at.
namespace app {

inline constexpr char kStatisticsServer[] = "stats.kinovue.example.com";

// The server to ping: the environment variable KINOVUE_STATS_SERVER ("host"
// or "host:port", letters, digits, '.', '-' and ':' only) when it is set and
// well formed, otherwise kStatisticsServer.
std::string StatisticsServer();

// "http://<server>/statistics.php?name=kinovue&ver=1.0.1008&act=install"
// for COMMAND_LINE_INSTALL, "...&act=remove" for COMMAND_LINE_REMOVE.
std::string PingUrl(CommandLineMode mode, const std::string& server);

// The command-line modes: for "-install" or "-remove" sends the matching
// ping to server and returns true (the program then ends without a window);
// for any other text sends nothing and returns false. The HTTP client comes
// from the network module at netModulePath (net/net_module_contract.h),
// loaded only here; a module that cannot be loaded sends nothing and says
// why in one line on stderr. Blocks for at most the HTTP client's time
// limits while running the thread's event loop; needs a QCoreApplication.
bool SendModePing(const std::string& commandLine, const std::string& server, const std::string& netModulePath);

}  // namespace app
