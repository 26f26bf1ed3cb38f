#include "net/server_text.h"

namespace net {

bool IsServerText(const std::string& text) {
  if (text.empty() || text.size() > 259) return false;
  for (char c : text) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                    c == '-' || c == ':';
    if (!ok) return false;
  }
  return true;
}

}  // namespace net
