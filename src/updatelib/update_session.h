#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "net/net_module.h"
#include "updatelib/autorenew_contract.h"
#include "updatelib/check_file.h"

// One update context, created by _AutoRenewDllInit: the server list, the
// signed check file once fetched, and the download and placement of the
// files it names. Used from one thread at a time. Downloads go through the
// network module at netModulePath, loaded on the first one.
class UpdateSession {
 public:
  UpdateSession(const UpdateInitBlock& block, std::string netModulePath);

  // The servers of "UpdateServer.ini": for every section with a "url",
  // url + filename. AUTORENEW_FAILED when the file cannot be read.
  int ServerList(std::vector<std::string>& servers) const;
  // The list as last counted: filling and freeing use exactly that many
  // entries, even when the file changed in between.
  std::vector<std::string>& CountedServers() { return counted_; }
  // Fetches server (the check file) and server + ".sig", checks the
  // signature and the entries, and compares versions with "UpdateLocal.ini".
  int GetUpdateInfo(const std::string& server);
  // Fetches and checks server's list as GetUpdateInfo does, whatever the
  // program folder, and places nothing: AUTORENEW_OK with version set when
  // its group is newer than ours, else AUTORENEW_UP_TO_DATE or a failure.
  int OfferedVersion(const std::string& server, std::int64_t& version);
  // Downloads every newer file into the cache, checks size and hash of all,
  // then places those that may be replaced now; the running program's files
  // stay cached for the restart. AUTORENEW_FAILED when anything was refused
  // (nothing is placed then).
  int UpdateAllFiles();
  // A restart has cached files waiting.
  bool NeedRestart() const { return needRestart_; }

 private:
  void Log(const std::string& line) const;
  // The signed list of server, verified: AUTORENEW_OK, AUTORENEW_BAD_SERVER_TEXT
  // or AUTORENEW_LIST_FAILED (logged).
  int FetchList(const std::string& server, CheckFile& parsed, std::string& body, std::string& signatureHex);
  // FetchList, and AUTORENEW_UP_TO_DATE when the list offers nothing newer
  // than the group version here.
  int FetchNewerList(const std::string& server, CheckFile& parsed, std::string& body, std::string& signatureHex);
  bool Download(const std::string& url, std::size_t maxBody, net::HttpReply& reply);

  std::string serverConfigPath_;
  std::string localConfigPath_;
  std::string publicKeyHex_;
  std::string logPath_;
  std::string cacheFolder_;
  std::string programFolder_;
  std::string netModulePath_;
  net::NetModule net_;

  std::string server_;          // the check file's address
  std::string checkBytes_;      // as signed
  std::string signatureHex_;
  CheckFile list_;
  std::vector<UpdateFileEntry> newer_;
  bool haveList_ = false;
  bool needRestart_ = false;
  std::vector<std::string> counted_;
};

// The work of the restart helper, and of _CheckCachedUpdate.
namespace cached_update {
// "UpdateLocal.ini" says a restart has cached files waiting.
bool Pending(const std::string& localConfigPath);
// Checks the cached check file's signature and every cached file's size and
// hash, then places them. 0, or AUTORENEW_FAILED with nothing placed.
int Apply(const std::string& cacheFolder, const std::string& programFolder, const std::string& publicKeyHex);
}  // namespace cached_update

// Appends one time-stamped line to the log file; a line that cannot be
// written whole is taken back, so the log never ends in half a line. False
// when it was not written.
bool AppendUpdateLog(const std::string& logPath, const std::string& line);
