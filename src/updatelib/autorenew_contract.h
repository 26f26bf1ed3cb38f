#pragma once
#include <cstdint>

// The contract between Kinovue and its update library, libautorenew.so in
// the program folder. Every export uses the C calling convention; texts are
// zero-terminated UTF-8; the context is the value returned by initialisation.

// Handed to _AutoRenewDllInit. Fifteen pointer-sized fields; the texts are
// owned by the caller and stay valid while the library is used.
struct UpdateInitBlock {
  const char* serverConfigPath;  // "UpdateServer.ini"
  const char* localConfigPath;   // "UpdateLocal.ini"
  const char* publicKeyHex;      // Ed25519 key that signs the check file; null: the built-in key
  const char* logPath;           // "update.log"
  const char* cacheFolder;       // "update_cache"
  const char* programFolder;     // where files are placed, with a trailing '/'
  const char* cacheFolderAgain;  // the same text as cacheFolder
  std::intptr_t reserved7;       // 0
  std::intptr_t protocol;        // 2
  std::intptr_t reserved[6];     // 0
};

// Results of _GetUpdateInfoFromServer.
enum : int {
  AUTORENEW_OK = 0,
  AUTORENEW_FAILED = -2,
  AUTORENEW_BAD_SERVER_TEXT = -3,   // the server's "url" or "filename" is not usable
  AUTORENEW_LIST_FAILED = -4,       // check file not fetched, not signed right, or not valid
  AUTORENEW_UP_TO_DATE = -5,        // the server's group version is not newer
  AUTORENEW_NOTHING_NEWER = -6,     // newer group, but no file newer than ours
  AUTORENEW_PACKAGE_MANAGED = -7,   // the program folder is not writable: the package manager updates
};

extern "C" {
using AutoRenewInitFn = std::intptr_t (*)(const UpdateInitBlock*);
using AutoRenewFinishFn = int (*)(std::intptr_t context);
using GetServerListCountFn = int (*)(std::intptr_t context, int* count);
using GetServerListFn = int (*)(std::intptr_t context, char** servers);
using FreeServerListFn = int (*)(std::intptr_t context, char** servers);
using GetUpdateInfoFromServerFn = int (*)(std::intptr_t context, const char* server, std::intptr_t, std::intptr_t);
using UpdateAllFilesFn = int (*)(std::intptr_t context);
using CheckCachedUpdateFn = int (*)(const char* localConfigPath);
using NeedUpdateMainProcessFn = int (*)(std::intptr_t context);
// Places the files a restart left in cacheFolder into programFolder, after
// checking them again against the signed check file kept with them.
// publicKeyHex null: the built-in key. 0 done, AUTORENEW_FAILED otherwise.
using CachedUpdateFn = int (*)(const char* cacheFolder, const char* programFolder, const char* publicKeyHex);
// Optional (older libraries lack it): fetches and checks server's signed
// list without placing anything, whatever the program folder, for a copy the
// package manager updates. AUTORENEW_OK with *version set to its group
// version when that is newer than ours; AUTORENEW_UP_TO_DATE,
// AUTORENEW_BAD_SERVER_TEXT or AUTORENEW_LIST_FAILED otherwise.
using GetOfferedVersionFn = int (*)(std::intptr_t context, const char* server, long long* version);
}
