#pragma once
#include <string>

namespace net {

// A whole HTTP reply as the update library's downloads return it.
struct HttpReply {
  int status = 0;     // 0: no valid status line
  std::string body;   // for a chunked reply: as received (never decoded)
  bool chunked = false;
};

}  // namespace net
