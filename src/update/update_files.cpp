#include "update/update_files.h"

#include <QString>
#include <utility>

#include "net/server_text.h"
#include "settings/ini_file.h"

namespace update {
namespace {

// server without its scheme, and the scheme ("https://" unless "http://" is given).
std::pair<std::string, std::string> SplitScheme(const std::string& server) {
  for (const char* scheme : {"https://", "http://"}) {
    if (server.rfind(scheme, 0) == 0) return {scheme, server.substr(std::string(scheme).size())};
  }
  return {"https://", server};
}

}  // namespace

std::string UpdateServer() {
  const std::string chosen = qEnvironmentVariable("KINOVUE_UPDATE_SERVER").toStdString();
  return net::IsServerText(SplitScheme(chosen).second) ? chosen : kUpdateServer;
}

std::string UpdatePublicKey() {
  const std::string key = qEnvironmentVariable("KINOVUE_UPDATE_KEY").toStdString();
  if (key.size() != 64 || key.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return {};
  return key;
}

void SeedUpdateFiles(const std::string& dataFolder, const std::string& server) {
  const auto [scheme, address] = SplitScheme(server);
  // The section is named after the host, without a port.
  const std::string host = address.substr(0, address.find(':'));
  IniFile servers(dataFolder + kUpdateServerFile);
  std::string url;
  const std::string plainBuiltIn = std::string("http://") + kUpdateServer + "/kinovue/1/";
  if (!servers.ReadString(host, "url", url, 4096) || url == plainBuiltIn) {
    servers.WriteStrings(host, {{"url", scheme + address + "/kinovue/1/"}, {"filename", "check_update.ini"}});
  }
}

}  // namespace update
