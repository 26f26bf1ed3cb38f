#pragma once
#include <cstddef>

#include "net/http_reply.h"

// The contract between the program and its network module,
// libkinovue_net.so beside it: the HTTP client with Qt's network library
// behind it. It is loaded only when a request is made, so a start that
// sends nothing maps neither. Exports use the C calling convention; texts
// are zero-terminated; a reply is the caller's object, built from the same
// sources as the module.
namespace net {

inline constexpr char kNetModuleFile[] = "libkinovue_net.so";

inline constexpr char kHttpGetStatusOkExport[] = "kinovue_http_get_status_ok";
inline constexpr char kHttpDownloadExport[] = "kinovue_http_download";

extern "C" {
// HttpGetStatusOk of net/http_client.h with its default time limits.
using HttpGetStatusOkFn = int (*)(const char* url);
// HttpDownload of net/http_download.h with its default time limits: 1 when
// it succeeded, else 0.
using HttpDownloadFn = int (*)(const char* url, std::size_t maxBody, HttpReply* reply);
}

}  // namespace net
