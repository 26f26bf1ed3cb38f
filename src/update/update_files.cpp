#include "update/update_files.h"

#include <QString>

#include "net/server_text.h"
#include "settings/ini_file.h"

namespace update {
std::string UpdateServer() {
  const std::string chosen = qEnvironmentVariable("KINOVUE_UPDATE_SERVER").toStdString();
  return net::IsServerText(chosen) ? chosen : kUpdateServer;
}

std::string UpdatePublicKey() {
  const std::string key = qEnvironmentVariable("KINOVUE_UPDATE_KEY").toStdString();
  if (key.size() != 64 || key.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return {};
  return key;
}

void SeedUpdateFiles(const std::string& dataFolder, const std::string& server) {
  // The section is named after the host, without a port.
  const std::string host = server.substr(0, server.find(':'));
  IniFile servers(dataFolder + kUpdateServerFile);
  std::string url;
  if (!servers.ReadString(host, "url", url, 4096)) {
    servers.WriteStrings(host, {{"url", "http://" + server + "/kinovue/1/"}, {"filename", "check_update.ini"}});
  }
  IniFile local(dataFolder + kUpdateLocalFile);
  std::string version;
  if (!local.ReadString("update_info", "group_ver_1", version, 32)) {
    local.WriteString("local_version", "_kinovue_exe", "20060728");
    local.WriteString("update_info", "group_ver_1", "20060728");
  }
}

}  // namespace update
