#pragma once
#include <string>

// The update server and the update files Kinovue keeps in its data folder.
namespace update {

inline constexpr char kUpdateServer[] = "update.kinovue.example.com";
inline constexpr char kUpdateServerFile[] = "UpdateServer.ini";
inline constexpr char kUpdateLocalFile[] = "UpdateLocal.ini";
inline constexpr char kUpdateLogFile[] = "update.log";
inline constexpr char kUpdateCacheFolder[] = "update_cache";
inline constexpr char kUpdateLibraryFile[] = "libautorenew.so";

// The server: KINOVUE_UPDATE_SERVER ("host" or "host:port", letters,
// digits, '.', '-' and ':' only) when set and well formed, else kUpdateServer.
std::string UpdateServer();
// The key that signs the server's list: KINOVUE_UPDATE_KEY (64 hex digits)
// when set and well formed, else empty (the library's built-in key).
std::string UpdatePublicKey();

// Writes "url" and "filename" for server into "UpdateServer.ini" and the
// first versions into "UpdateLocal.ini", each only when its key is missing.
// dataFolder ends with '/'.
void SeedUpdateFiles(const std::string& dataFolder, const std::string& server);

}  // namespace update
