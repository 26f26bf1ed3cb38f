#include "updatelib/update_session.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "net/http_url.h"
#include "platform/atomic_file.h"
#include "platform/bounded_file.h"
#include "platform/program_folder.h"
#include "platform/text_rules.h"
#include "settings/ini_file.h"
#include "updatelib/file_placement.h"
#include "updatelib/file_switch.h"
#include "updatelib/ini_text.h"
#include "updatelib/release_version.h"
#include "updatelib/update_crypto.h"

namespace {

constexpr char kCheckFileName[] = "check_update.ini";
constexpr char kSignatureSuffix[] = ".sig";
constexpr std::size_t kMaxSignatureFile = 1024;
constexpr std::size_t kMaxServerFile = 64 * 1024;

std::string Text(const char* text) { return text ? text : ""; }

std::string TrimmedSignature(const std::string& bytes) {
  std::string hex;
  for (char c : bytes) {
    if (c != ' ' && c != '\r' && c != '\n' && c != '\t') hex += c;
  }
  return hex;
}

bool ReadSmallFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  return platform::ReadRegularFile(path, maxBytes, bytes) == platform::FileRead::kRead;
}

// The signed list, checked: signature under the key, then the entries, then
// its expiry.
bool VerifiedList(const std::string& keyHex, const std::string& checkBytes, const std::string& signatureHex,
                  CheckFile& list, std::string& error) {
  if (!VerifyEd25519(keyHex, checkBytes, signatureHex)) {
    error = "signature of check_update.ini rejected";
    return false;
  }
  return ParseCheckFile(checkBytes, list, error) && IsCurrentList(list, TodayUtc(), error);
}

bool IsServerAddress(const std::string& server) {
  net::HttpTarget target;
  return (server.rfind("https://", 0) == 0 || server.rfind("http://", 0) == 0) && server.back() != '/' &&
         net::ParseHttpUrl(server, target);
}

// The verified files as one switch (file_switch.h).
std::vector<NewFile> ToSwitch(const std::string& programFolder,
                              const std::vector<std::pair<UpdateFileEntry, std::string>>& files) {
  std::vector<NewFile> result;
  for (const auto& [entry, bytes] : files) {
    NewFile file;
    file.file.id = entry.id;
    file.file.name = entry.name;
    file.file.version = entry.version;
    file.bytes = bytes;
    file.executable = entry.restart || IsExecutableFile(programFolder, entry.name);
    result.push_back(std::move(file));
  }
  return result;
}

}  // namespace

bool AppendUpdateLog(const std::string& logPath, const std::string& line) {
  if (logPath.empty()) return false;
  const std::string stamped =
      QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss ").toStdString() + line + "\n";
  return platform::AppendToFile(logPath, stamped) == 0;
}

UpdateSession::UpdateSession(const UpdateInitBlock& block, std::string netModulePath)
    : serverConfigPath_(Text(block.serverConfigPath)),
      localConfigPath_(Text(block.localConfigPath)),
      publicKeyHex_(block.publicKeyHex ? block.publicKeyHex : kBuiltInUpdateKeyHex),
      logPath_(Text(block.logPath)),
      cacheFolder_(platform::WithTrailingSlash(Text(block.cacheFolder))),
      programFolder_(platform::WithTrailingSlash(Text(block.programFolder))),
      netModulePath_(std::move(netModulePath)) {}

void UpdateSession::Log(const std::string& line) const { AppendUpdateLog(logPath_, line); }

bool UpdateSession::Download(const std::string& url, std::size_t maxBody, net::HttpReply& reply) {
  if (!net_.Load(netModulePath_)) {
    Log("no network module: " + net_.ErrorText());
    return false;
  }
  return net_.HttpDownload(url, maxBody, reply);
}

int UpdateSession::ServerList(std::vector<std::string>& servers) const {
  std::string bytes;
  if (!ReadSmallFile(serverConfigPath_, kMaxServerFile, bytes)) {
    Log("no server list: " + serverConfigPath_);
    return AUTORENEW_FAILED;
  }
  servers.clear();
  for (const IniText::Section& section : ParseIniText(bytes).sections) {
    IniText one;
    one.sections.push_back(section);
    const std::string url = one.Value(section.name, "url");
    if (!url.empty()) servers.push_back(url + one.Value(section.name, "filename"));
  }
  return AUTORENEW_OK;
}

int UpdateSession::FetchList(const std::string& server, CheckFile& parsed, std::string& body,
                             std::string& signatureHex) {
  if (!IsServerAddress(server)) {
    Log("bad server address: " + server);
    return AUTORENEW_BAD_SERVER_TEXT;
  }
  net::HttpReply list;
  net::HttpReply signature;
  if (!Download(server, kMaxCheckFileSize, list) || list.status != 200 ||
      !Download(server + kSignatureSuffix, kMaxSignatureFile, signature) || signature.status != 200) {
    Log("check file or its signature not fetched from " + server);
    return AUTORENEW_LIST_FAILED;
  }
  std::string error;
  signatureHex = TrimmedSignature(signature.body);
  if (!VerifiedList(publicKeyHex_, list.body, signatureHex, parsed, error)) {
    Log("check file refused: " + error);
    return AUTORENEW_LIST_FAILED;
  }
  body = list.body;
  return AUTORENEW_OK;
}

int UpdateSession::FetchNewerList(const std::string& server, CheckFile& parsed, std::string& body,
                                  std::string& signatureHex) {
  if (const int fetched = FetchList(server, parsed, body, signatureHex); fetched != AUTORENEW_OK) return fetched;
  const std::int64_t ours = StoredVersion(localConfigPath_, "update_info", "group_ver_1");
  if (parsed.groupVersion <= ours) {
    Log("up to date at group version " + std::to_string(ours));
    return AUTORENEW_UP_TO_DATE;
  }
  return AUTORENEW_OK;
}

int UpdateSession::OfferedVersion(const std::string& server, std::int64_t& version) {
  CheckFile parsed;
  std::string body;
  std::string signatureHex;
  if (const int fetched = FetchNewerList(server, parsed, body, signatureHex); fetched != AUTORENEW_OK) return fetched;
  version = parsed.groupVersion;
  Log("group version " + std::to_string(version) + " is offered; nothing is placed");
  return AUTORENEW_OK;
}

int UpdateSession::GetUpdateInfo(const std::string& server) {
  haveList_ = false;
  newer_.clear();
  // Asked on its own: a copy the package manager installed never calls the server.
  if (!QFileInfo(QString::fromStdString(programFolder_)).isWritable()) {
    Log("program folder not writable: updates come from the package manager");
    return AUTORENEW_PACKAGE_MANAGED;
  }
  CheckFile parsed;
  std::string body;
  std::string signatureHex;
  if (const int fetched = FetchNewerList(server, parsed, body, signatureHex); fetched != AUTORENEW_OK) return fetched;
  for (const UpdateFileEntry& entry : parsed.files) {
    if (entry.version > StoredVersion(localConfigPath_, "local_version", entry.id)) newer_.push_back(entry);
  }
  server_ = server;
  checkBytes_ = body;
  signatureHex_ = signatureHex;
  list_ = parsed;
  haveList_ = true;
  if (newer_.empty()) {
    Log("group version " + std::to_string(parsed.groupVersion) + " has no newer file");
    return AUTORENEW_NOTHING_NEWER;
  }
  Log("group version " + std::to_string(parsed.groupVersion) + ": " + std::to_string(newer_.size()) +
      " newer file(s)");
  return AUTORENEW_OK;
}

int UpdateSession::UpdateAllFiles() {
  if (!haveList_) return AUTORENEW_FAILED;
  const std::string base = server_.substr(0, server_.rfind('/') + 1);
  // Everything is fetched and checked before anything is placed.
  std::vector<std::pair<UpdateFileEntry, std::string>> now;
  std::vector<std::pair<UpdateFileEntry, std::string>> later;
  for (const UpdateFileEntry& entry : newer_) {
    net::HttpReply reply;
    if (!Download(base + entry.name, static_cast<std::size_t>(entry.size), reply) ||
        reply.status != 200) {
      Log("download failed: " + entry.name);
      return AUTORENEW_FAILED;
    }
    if (static_cast<std::int64_t>(reply.body.size()) != entry.size || Sha256Hex(reply.body) != entry.sha256) {
      Log("refused " + entry.name + ": size or SHA-256 differs from the signed list");
      return AUTORENEW_FAILED;
    }
    (entry.restart ? later : now).emplace_back(entry, reply.body);
  }
  std::string error;
  for (const auto& [entry, bytes] : now) {
    if (!CanPlaceFile(programFolder_, entry.name, error)) {
      Log("refused: " + error);
      return AUTORENEW_FAILED;
    }
  }
  QDir().mkpath(QString::fromStdString(cacheFolder_));
  for (const auto& [entry, bytes] : later) {
    if (!PlaceFile(cacheFolder_, entry.name, bytes, true, error)) {
      Log("caching failed: " + error);
      return AUTORENEW_FAILED;
    }
  }
  // The group is reached only once the files of the restart are placed too.
  if (!SwitchFiles(programFolder_, ToSwitch(programFolder_, now), later.empty() ? list_.groupVersion : 0,
                   localConfigPath_, logPath_, error)) {
    Log("placing failed, the old files are kept: " + error);
    return AUTORENEW_FAILED;
  }
  if (!later.empty()) {
    if (!PlaceFile(cacheFolder_, kCheckFileName, checkBytes_, false, error) ||
        !PlaceFile(cacheFolder_, std::string(kCheckFileName) + kSignatureSuffix, signatureHex_, false, error)) {
      Log("caching failed: " + error);
      return AUTORENEW_FAILED;
    }
    IniFile(localConfigPath_).WriteString("update_info", "cached_update", "1");
    needRestart_ = true;
    Log(std::to_string(later.size()) + " file(s) cached for the restart");
    return AUTORENEW_OK;
  }
  Log("update to group version " + std::to_string(list_.groupVersion) + " done");
  return AUTORENEW_OK;
}

namespace cached_update {

bool Pending(const std::string& localConfigPath) {
  bool pending = false;
  return IniFile(localConfigPath).ReadBool("update_info", "cached_update", pending) && pending;
}

namespace {

int ApplyVerified(const std::string& cacheFolderText, const std::string& programFolderText,
                  const std::string& keyHex) {
  const std::string cacheFolder = platform::WithTrailingSlash(cacheFolderText);
  const std::string programFolder = platform::WithTrailingSlash(programFolderText);
  // The same data folder the program keeps its update state in, which is
  // not beside the program when that folder is shared or installed.
  const std::string dataFolder = platform::DataFolder(programFolder);
  const std::string logPath = dataFolder + "update.log";
  std::string checkBytes;
  std::string signature;
  if (!ReadPlacedFile(cacheFolder, kCheckFileName, kMaxCheckFileSize, checkBytes) ||
      !ReadPlacedFile(cacheFolder, std::string(kCheckFileName) + kSignatureSuffix, kMaxSignatureFile, signature)) {
    AppendUpdateLog(logPath, "no cached check file in " + cacheFolder);
    return AUTORENEW_FAILED;
  }
  CheckFile list;
  std::string error;
  if (!VerifiedList(keyHex.empty() ? kBuiltInUpdateKeyHex : keyHex, checkBytes, TrimmedSignature(signature), list,
                    error)) {
    AppendUpdateLog(logPath, "cached update refused: " + error);
    return AUTORENEW_FAILED;
  }
  const std::string localConfigPath = dataFolder + "UpdateLocal.ini";
  std::vector<std::pair<UpdateFileEntry, std::string>> files;
  for (const UpdateFileEntry& entry : list.files) {
    std::string bytes;
    if (!entry.restart || entry.version <= StoredVersion(localConfigPath, "local_version", entry.id)) continue;
    if (!ReadPlacedFile(cacheFolder, entry.name, entry.size, bytes) ||
        static_cast<std::int64_t>(bytes.size()) != entry.size || Sha256Hex(bytes) != entry.sha256) {
      AppendUpdateLog(logPath, "cached " + entry.name + " missing or changed; nothing placed");
      return AUTORENEW_FAILED;
    }
    files.emplace_back(entry, bytes);
  }
  if (!SwitchFiles(programFolder, ToSwitch(programFolder, files), list.groupVersion, localConfigPath, logPath,
                   error)) {
    AppendUpdateLog(logPath, "placing failed, the old files are kept: " + error);
    return AUTORENEW_FAILED;
  }
  IniFile(localConfigPath).WriteString("update_info", "cached_update", "0");
  AppendUpdateLog(logPath, "cached update to group version " + std::to_string(list.groupVersion) + " done");
  return AUTORENEW_OK;
}

}  // namespace

int Apply(const std::string& cacheFolder, const std::string& programFolder, const std::string& keyHex) {
  const int result = ApplyVerified(cacheFolder, programFolder, keyHex);
  // A refused cache is not offered again; the next check fetches afresh.
  if (result != AUTORENEW_OK) {
    IniFile(platform::DataFolder(platform::WithTrailingSlash(programFolder)) + "UpdateLocal.ini")
        .WriteString("update_info", "cached_update", "0");
  }
  return result;
}

}  // namespace cached_update
