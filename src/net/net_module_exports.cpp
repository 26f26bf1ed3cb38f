// The exports of libkinovue_net.so (see net/net_module_contract.h).
#include <type_traits>

#include "net/http_client.h"
#include "net/http_download.h"
#include "net/net_module_contract.h"

extern "C" {

__attribute__((visibility("default"))) int kinovue_http_get_status_ok(const char* url) {
  return net::HttpGetStatusOk(url ? url : "");
}

__attribute__((visibility("default"))) int kinovue_http_download(const char* url, std::size_t maxBody,
                                                                net::HttpReply* reply) {
  if (!reply) return 0;
  return net::HttpDownload(url ? url : "", maxBody, *reply) ? 1 : 0;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&kinovue_http_get_status_ok), net::HttpGetStatusOkFn>);
static_assert(std::is_same_v<decltype(&kinovue_http_download), net::HttpDownloadFn>);
