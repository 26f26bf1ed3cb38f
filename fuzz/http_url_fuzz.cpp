// Feeds arbitrary urls and server names, as the environment and the update
// files may hold them, to the url rules: whatever is accepted must
// make a request of exactly the program's own lines.
#include <cassert>
#include <cstdint>
#include <string>

#include "net/http_url.h"
#include "net/server_text.h"

namespace {

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  net::HttpTarget target;
  if (net::ParseHttpUrl(text, target)) {
    assert(!target.host.empty() && target.host.size() < 260 && target.path.size() < 260);
    assert(target.port >= 1 && target.port <= 65535);
    assert(target.literalAddress == net::IsNumericIPv4(target.host));
    const std::string request = net::BuildHttpRequest(target);
    // The request line, Connection, Host (not for an address), Pragma,
    // Accept, Accept-Language, Accept-Charset and the empty line.
    assert(Count(request, "\r\n") == (target.literalAddress ? 7u : 8u));
    assert(Count(request, "\n") == Count(request, "\r\n"));
  }
  net::IsNumericIPv4(text);
  // An accepted server name cannot add a path, a user or request lines.
  if (net::IsServerText(text) && net::ParseHttpUrl("http://" + text + "/x", target)) assert(target.path == "x");
  return 0;
}
