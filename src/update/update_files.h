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
// digits, '.', '-' and ':' only, after an optional "https://" or "http://")
// when set and well formed, else kUpdateServer.
std::string UpdateServer();
// The key that signs the server's list: KINOVUE_UPDATE_KEY (64 hex digits)
// when set and well formed, else empty (the library's built-in key).
std::string UpdatePublicKey();

// Writes "url" and "filename" for server ("[scheme://]host[:port]", https
// unless "http://" is given) into "UpdateServer.ini" when its url is missing;
// the built-in server's old "http://" url becomes "https://". No version is
// seeded: what is missing counts as the release's own (release_version.h).
// dataFolder ends with '/'.
void SeedUpdateFiles(const std::string& dataFolder, const std::string& server);

}  // namespace update
