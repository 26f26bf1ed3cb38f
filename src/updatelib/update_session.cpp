#include "updatelib/update_session.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <utility>

#include "net/http_url.h"
#include "platform/atomic_file.h"
#include "platform/bounded_file.h"
#include "platform/text_rules.h"
#include "settings/ini_file.h"
#include "updatelib/file_placement.h"
#include "updatelib/ini_text.h"
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

std::int64_t LocalVersion(const IniFile& local, const std::string& section, const std::string& key) {
  std::string text;
  std::int64_t version = 0;
  if (local.ReadString(section, key, text, 32)) ParseDecimal(text, version);
  return version;
}

// The signed list, checked: signature under the key, then the entries.
bool VerifiedList(const std::string& keyHex, const std::string& checkBytes, const std::string& signatureHex,
                  CheckFile& list, std::string& error) {
  if (!VerifyEd25519(keyHex, checkBytes, signatureHex)) {
    error = "signature of check_update.ini rejected";
    return false;
  }
  return ParseCheckFile(checkBytes, list, error);
}

// Places the files whose verified bytes are given and records their versions.
bool PlaceAll(const std::string& programFolder, const std::vector<std::pair<UpdateFileEntry, std::string>>& files,
              IniFile& local, const std::string& logPath) {
  for (const auto& [entry, bytes] : files) {
    std::string error;
    const bool executable = entry.restart || IsExecutableFile(programFolder, entry.name);
    if (!PlaceFile(programFolder, entry.name, bytes, executable, error)) {
      AppendUpdateLog(logPath, "placing failed: " + error);
      return false;
    }
    local.WriteString("local_version", entry.id, std::to_string(entry.version));
    AppendUpdateLog(logPath, "placed " + entry.name + " version " + std::to_string(entry.version));
  }
  return true;
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

int UpdateSession::GetUpdateInfo(const std::string& server) {
  haveList_ = false;
  newer_.clear();
  if (!QFileInfo(QString::fromStdString(programFolder_)).isWritable()) {
    Log("program folder not writable: updates come from the package manager");
    return AUTORENEW_PACKAGE_MANAGED;
  }
  net::HttpTarget target;
  if (server.rfind("http://", 0) != 0 || server.back() == '/' || !net::ParseHttpUrl(server, target)) {
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
  CheckFile parsed;
  const std::string signatureHex = TrimmedSignature(signature.body);
  if (!VerifiedList(publicKeyHex_, list.body, signatureHex, parsed, error)) {
    Log("check file refused: " + error);
    return AUTORENEW_LIST_FAILED;
  }
  IniFile local(localConfigPath_);
  const std::int64_t ours = LocalVersion(local, "update_info", "group_ver_1");
  if (parsed.groupVersion <= ours) {
    Log("up to date at group version " + std::to_string(ours));
    return AUTORENEW_UP_TO_DATE;
  }
  for (const UpdateFileEntry& entry : parsed.files) {
    if (entry.version > LocalVersion(local, "local_version", entry.id)) newer_.push_back(entry);
  }
  server_ = server;
  checkBytes_ = list.body;
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
  IniFile local(localConfigPath_);
  if (!PlaceAll(programFolder_, now, local, logPath_)) return AUTORENEW_FAILED;
  if (!later.empty()) {
    if (!PlaceFile(cacheFolder_, kCheckFileName, checkBytes_, false, error) ||
        !PlaceFile(cacheFolder_, std::string(kCheckFileName) + kSignatureSuffix, signatureHex_, false, error)) {
      Log("caching failed: " + error);
      return AUTORENEW_FAILED;
    }
    local.WriteString("update_info", "cached_update", "1");
    needRestart_ = true;
    Log(std::to_string(later.size()) + " file(s) cached for the restart");
    return AUTORENEW_OK;
  }
  local.WriteString("update_info", "group_ver_1", std::to_string(list_.groupVersion));
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
  const std::string logPath = programFolder + "dat/update.log";
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
  IniFile local(programFolder + "dat/UpdateLocal.ini");
  std::vector<std::pair<UpdateFileEntry, std::string>> files;
  for (const UpdateFileEntry& entry : list.files) {
    std::string bytes;
    if (!entry.restart || entry.version <= LocalVersion(local, "local_version", entry.id)) continue;
    if (!ReadPlacedFile(cacheFolder, entry.name, entry.size, bytes) ||
        static_cast<std::int64_t>(bytes.size()) != entry.size || Sha256Hex(bytes) != entry.sha256) {
      AppendUpdateLog(logPath, "cached " + entry.name + " missing or changed; nothing placed");
      return AUTORENEW_FAILED;
    }
    files.emplace_back(entry, bytes);
  }
  if (!PlaceAll(programFolder, files, local, logPath)) return AUTORENEW_FAILED;
  local.WriteStrings("update_info", {{"group_ver_1", std::to_string(list.groupVersion)}, {"cached_update", "0"}});
  AppendUpdateLog(logPath, "cached update to group version " + std::to_string(list.groupVersion) + " done");
  return AUTORENEW_OK;
}

}  // namespace

int Apply(const std::string& cacheFolder, const std::string& programFolder, const std::string& keyHex) {
  const int result = ApplyVerified(cacheFolder, programFolder, keyHex);
  // A refused cache is not offered again; the next check fetches afresh.
  if (result != AUTORENEW_OK) {
    IniFile(platform::WithTrailingSlash(programFolder) + "dat/UpdateLocal.ini").WriteString("update_info", "cached_update", "0");
  }
  return result;
}

}  // namespace cached_update
