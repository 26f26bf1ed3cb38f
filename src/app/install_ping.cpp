#include "app/install_ping.h"

#include <QString>
#include <cstdio>

#include "app/version.h"
#include "net/net_module.h"
#include "net/server_text.h"

namespace app {
std::string StatisticsServer() {
  const std::string chosen = qEnvironmentVariable("KINOVUE_STATS_SERVER").toStdString();
  return net::IsServerText(chosen) ? chosen : kStatisticsServer;
}

std::string PingUrl(CommandLineMode mode, const std::string& server) {
  const char* act = mode == COMMAND_LINE_REMOVE ? "remove" : "install";
  return "http://" + server + "/statistics.php?name=kinovue&ver=" + kProgramVersion + "&act=" + act;
}

bool SendModePing(const std::string& commandLine, const std::string& server, const std::string& netModulePath) {
  const CommandLineMode mode = ModeOf(commandLine);
  if (mode != COMMAND_LINE_INSTALL && mode != COMMAND_LINE_REMOVE) return false;
  net::NetModule module;
  if (!module.Load(netModulePath)) {
    std::fprintf(stderr, "kinovue: no ping sent: %s\n", module.ErrorText().c_str());
    return true;
  }
  module.HttpGetStatusOk(PingUrl(mode, server));  // the answer does not matter
  return true;
}

}  // namespace app
