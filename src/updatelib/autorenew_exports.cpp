// The exports of libautorenew.so (see autorenew_contract.h).
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

#include "net/net_module_contract.h"
#include "platform/dynamic_library.h"
#include "updatelib/autorenew_contract.h"
#include "updatelib/file_switch.h"
#include "updatelib/update_session.h"

namespace {

UpdateSession* Session(std::intptr_t context) { return reinterpret_cast<UpdateSession*>(context); }

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::intptr_t _AutoRenewDllInit(const UpdateInitBlock* block) {
  if (!block) return 0;
  // The network module lies beside this library.
  const std::string folder = platform::FolderOfLoadedLibrary(reinterpret_cast<const void*>(&_AutoRenewDllInit));
  // An update a crash interrupted is finished (or undone) before anything else.
  if (block->programFolder && block->localConfigPath) {
    RecoverSwitch(block->programFolder, block->localConfigPath, block->logPath ? block->logPath : "");
  }
  return reinterpret_cast<std::intptr_t>(new UpdateSession(*block, folder + net::kNetModuleFile));
}

__attribute__((visibility("default"))) int _UpdateFinish(std::intptr_t context) {
  delete Session(context);
  return AUTORENEW_OK;
}

__attribute__((visibility("default"))) int _GetServerListCount(std::intptr_t context, int* count) {
  if (!context || !count) return AUTORENEW_FAILED;
  std::vector<std::string>& servers = Session(context)->CountedServers();
  if (Session(context)->ServerList(servers) != AUTORENEW_OK) {
    servers.clear();
    return AUTORENEW_FAILED;
  }
  *count = static_cast<int>(servers.size());
  return AUTORENEW_OK;
}

// Fills exactly as many entries as the last _GetServerListCount reported;
// each is released by _FreeServerList.
__attribute__((visibility("default"))) int _GetServerList(std::intptr_t context, char** servers) {
  if (!context || !servers) return AUTORENEW_FAILED;
  const std::vector<std::string>& list = Session(context)->CountedServers();
  for (std::size_t i = 0; i < list.size(); ++i) servers[i] = strdup(list[i].c_str());
  return AUTORENEW_OK;
}

__attribute__((visibility("default"))) int _FreeServerList(std::intptr_t context, char** servers) {
  if (!context || !servers) return AUTORENEW_FAILED;
  const std::vector<std::string>& list = Session(context)->CountedServers();
  for (std::size_t i = 0; i < list.size(); ++i) {
    std::free(servers[i]);
    servers[i] = nullptr;
  }
  return AUTORENEW_OK;
}

__attribute__((visibility("default"))) int _GetUpdateInfoFromServer(std::intptr_t context, const char* server,
                                                                    std::intptr_t, std::intptr_t) {
  if (!context || !server) return AUTORENEW_BAD_SERVER_TEXT;
  return Session(context)->GetUpdateInfo(server);
}

__attribute__((visibility("default"))) int _UpdateAllFiles(std::intptr_t context) {
  if (!context) return AUTORENEW_FAILED;
  return Session(context)->UpdateAllFiles();
}

__attribute__((visibility("default"))) int _CheckCachedUpdate(const char* localConfigPath) {
  return localConfigPath && cached_update::Pending(localConfigPath) ? 1 : 0;
}

__attribute__((visibility("default"))) int _NeedUpdateMainProcess(std::intptr_t context) {
  return context && Session(context)->NeedRestart() ? 1 : 0;
}

__attribute__((visibility("default"))) int _CachedUpdate(const char* cacheFolder, const char* programFolder,
                                                         const char* publicKeyHex) {
  if (!cacheFolder || !programFolder) return AUTORENEW_FAILED;
  return cached_update::Apply(cacheFolder, programFolder, publicKeyHex ? publicKeyHex : "");
}

__attribute__((visibility("default"))) int _GetOfferedVersion(std::intptr_t context, const char* server,
                                                              long long* version) {
  if (!context || !server || !version) return AUTORENEW_BAD_SERVER_TEXT;
  std::int64_t offered = 0;
  const int result = Session(context)->OfferedVersion(server, offered);
  if (result == AUTORENEW_OK) *version = offered;
  return result;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&_GetOfferedVersion), GetOfferedVersionFn>);
