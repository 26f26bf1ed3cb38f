#pragma once

// The contract between the program and its network module,
// libkinovue_net.so beside it: the HTTP client with Qt's network library
// behind it. It is loaded only when a request is made, so a start that
// sends nothing maps neither. Exports use the C calling convention; texts
// are zero-terminated.
namespace net {

inline constexpr char kNetModuleFile[] = "libkinovue_net.so";

inline constexpr char kHttpGetStatusOkExport[] = "kinovue_http_get_status_ok";

extern "C" {
// HttpGetStatusOk of net/http_client.h with its default time limits.
using HttpGetStatusOkFn = int (*)(const char* url);
}

}  // namespace net
