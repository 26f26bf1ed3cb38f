#include "net/http_url.h"

#include <cstdint>

#include "platform/text_rules.h"

namespace net {
namespace {

constexpr std::size_t kPartBuffer = 260;  // host, path

bool SafeRequestText(const std::string& text) {
  for (unsigned char c : text) {
    if (c <= 0x20 || c == 0x7F) return false;
  }
  return true;
}

// The value of one hexadecimal, decimal or octal digit, or -1.
int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

bool IsNumericIPv4(const std::string& host) {
  std::size_t i = 0;
  for (int part = 0; part < 4; ++part) {
    if (i < host.size() && host[i] == '+') ++i;
    int base = 10;
    if (i + 1 < host.size() && host[i] == '0' && (host[i + 1] == 'x' || host[i + 1] == 'X')) {
      base = 16;
      i += 2;
    } else if (i < host.size() && host[i] == '0') {
      base = 8;
    }
    const std::size_t first = i;
    std::uint64_t value = 0;
    for (; i < host.size() && DigitValue(host[i], base) >= 0; ++i) {
      value = value * static_cast<unsigned>(base) + static_cast<unsigned>(DigitValue(host[i], base));
      if (value > 0xFFFFFFFFu) return false;
    }
    if (i == first) return false;
    const bool last = i == host.size();
    if (!last && host[i] != '.') return false;
    // A number followed by a dot is one byte; the last one fills the bytes left.
    const std::uint64_t limit = !last || part == 3 ? 0xFFu : 0xFFFFFFFFu >> (8 * part);
    if (value > limit) return false;
    if (last) return true;
    ++i;
  }
  return false;
}

bool ParseHttpUrl(const std::string& url, HttpTarget& target) {
  // The url is a zero-terminated text: nothing after a NUL counts.
  std::string text = url.substr(0, url.find('\0'));
  const bool tls = text.rfind("https://", 0) == 0;
  if (tls) {
    text.erase(0, 8);
  } else if (const std::size_t scheme = text.find("http://"); scheme != std::string::npos) {
    text.erase(0, scheme + 7);
  }
  if (text.size() >= kHttpWorkBuffer) return false;
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  std::string host = text.substr(0, slash);
  std::string path = text.substr(slash + 1);
  if (host.size() >= kPartBuffer || path.size() >= kPartBuffer) return false;
  int port = tls ? 443 : 80;
  const std::size_t colon = host.find(':');
  if (colon != std::string::npos) {
    const int number = platform::ParseLeadingInt(host.substr(colon + 1));
    host.resize(colon);
    if (number > 65535) return false;
    if (number > 0) port = number;
  }
  if (host.empty() || !SafeRequestText(host) || !SafeRequestText(path)) return false;
  target.host = host;
  target.port = port;
  target.path = path;
  target.literalAddress = IsNumericIPv4(host);
  target.tls = tls;
  return true;
}

std::string BuildHttpRequest(const HttpTarget& target) {
  std::string request = "GET /" + target.path + " HTTP/1.1\r\nConnection: Close\r\n";
  if (!target.literalAddress) request += "Host: " + target.host + "\r\n";
  request +=
      "Pragma: no-cache\r\n"
      "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, image/png, */*\r\n"
      "Accept-Language: en\r\n"
      "Accept-Charset: iso-8859-1,*,utf-8\r\n\r\n";
  return request;
}

}  // namespace net
