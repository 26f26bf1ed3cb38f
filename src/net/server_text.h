#pragma once
#include <string>

// Checks of server names taken from outside, free of any network code, so
// the program can pick its servers without loading the HTTP client.
namespace net {

// A server given from outside (an environment variable) as "host[:port]":
// letters, digits, '.', '-' and ':' only, at most 259 bytes. A '/', '@',
// space or line break would make it a different url.
bool IsServerText(const std::string& text);

}  // namespace net
