#pragma once
#include <cstddef>
#include <string>

// What an HTTP url names and the request sent for it: text rules only, free
// of any network code.
namespace net {

// What a url names. Parts past the limits are rejected, never cut.
struct HttpTarget {
  std::string host;        // without the port
  int port = 80;
  std::string path;        // after the first '/', query included
  bool literalAddress = false;  // an IPv4 address as numbers: no Host header
  bool tls = false;             // "https://": TLS with the server's certificate checked
};

// "http://" and everything before it dropped, or a leading "https://" (tls,
// port 443 unless given); the rest must hold a '/' (host before it, path
// after it). "host:port" with a number of 1 to 65535; a missing, zero or
// negative number means 80 (443 for https). False for: no '/', an empty
// host, more than 1023 bytes after the prefix, a host or path over 259
// bytes, a port above 65535, or a space or control byte in host or path
// (they would let the url write its own request lines).
bool ParseHttpUrl(const std::string& url, HttpTarget& target);

// True for an IPv4 address as numbers, in the forms Qt's address parser
// reads (those of the C library's inet_aton): one to four dot-separated
// numbers, each decimal, octal (leading 0) or hexadecimal (0x) with an
// optional '+', the last one filling the remaining bytes. host holds no
// spaces (ParseHttpUrl rejects them).
bool IsNumericIPv4(const std::string& host);

// The longest url (after its prefix) and request the client handles.
inline constexpr std::size_t kHttpWorkBuffer = 1024;

// The exact request sent for target.
std::string BuildHttpRequest(const HttpTarget& target);

}  // namespace net
