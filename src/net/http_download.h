#pragma once
#include <cstddef>
#include <string>

#include "net/http_client.h"
#include "net/http_reply.h"

// Whole-reply GET for the update library: the status code and the body,
// over the same connection and wait rules as the pings. Blocks its caller
// while running the calling thread's event loop; needs a QCoreApplication.
namespace net {

// Splits raw reply bytes. False when there is no complete head, the status
// line is not "HTTP/1.x NNN ...", or a Content-Length is given but not a
// number. A body longer than Content-Length is cut to it.
bool ParseHttpReply(const std::string& raw, HttpReply& reply);

// GETs url (rules of ParseHttpUrl) and reads until the server closes or
// Content-Length bytes arrived. False when the url is bad, nothing usable
// came, the reply is chunked, or more than maxBody bytes of body came; no
// gap between two pieces may exceed timeouts.receiveMs, and the whole
// reply must come within totalMs.
bool HttpDownload(const std::string& url, std::size_t maxBody, HttpReply& reply,
                  const HttpTimeouts& timeouts = HttpTimeouts{}, int totalMs = 120000);

}  // namespace net
