#include "app/install_ping.h"

#include <QString>

#include "app/version.h"
#include "net/http_client.h"

namespace app {
std::string StatisticsServer() {
  const std::string chosen = qEnvironmentVariable("KINOVUE_STATS_SERVER").toStdString();
  return net::IsServerText(chosen) ? chosen : kStatisticsServer;
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
