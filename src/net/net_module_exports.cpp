// The exports of libkinovue_net.so (see net/net_module_contract.h).
#include <type_traits>

#include "net/http_client.h"
#include "net/net_module_contract.h"

extern "C" {

__attribute__((visibility("default"))) int kinovue_http_get_status_ok(const char* url) {
  return net::HttpGetStatusOk(url ? url : "");
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&kinovue_http_get_status_ok), net::HttpGetStatusOkFn>);
