#include "app/install_ping.h"

#include <QString>

#include "app/version.h"
#include "net/http_client.h"

namespace app {
namespace {

bool IsServerText(const std::string& text) {
  if (text.empty() || text.size() > 259) return false;
  for (char c : text) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '-' || c == ':';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

std::string StatisticsServer() {
  // A '/', '@', space or line break would make the value a different url.
  const std::string chosen = qEnvironmentVariable("KINOVUE_STATS_SERVER").toStdString();
  return IsServerText(chosen) ? chosen : kStatisticsServer;
}

std::string PingUrl(CommandLineMode mode, const std::string& server) {
  const char* act = mode == COMMAND_LINE_REMOVE ? "remove" : "install";
  return "http://" + server + "/statistics.php?name=kinovue&ver=" + kProgramVersion + "&act=" + act;
}

bool SendModePing(const std::string& commandLine, const std::string& server) {
  const CommandLineMode mode = ModeOf(commandLine);
  if (mode == COMMAND_LINE_NORMAL) return false;
  net::HttpGetStatusOk(PingUrl(mode, server));  // the answer does not matter
  return true;
}

}  // namespace app
