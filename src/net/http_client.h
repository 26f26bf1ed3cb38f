#pragma once
#include <memory>
#include <string>

#include "net/http_url.h"

class QTcpSocket;

// A minimal HTTP/1.1 GET that only learns whether the server answered
// "200 OK" (the install and remove pings). It blocks its caller but keeps the
// calling thread's Qt event loop running while it waits, so windows stay
// responsive and may run re-entrantly during a request. Every step is bounded
// in time. Needs a QCoreApplication; without one every request fails.
namespace net {

// Socket error numbers, as the program has always reported them.
inline constexpr int kErrInterrupted = 10004;
inline constexpr int kErrAlreadyConnected = 10056;
inline constexpr int kErrTimedOut = 10060;
inline constexpr int kErrConnectionRefused = 10061;
inline constexpr int kErrConnectionAborted = 10053;  // any other failure
inline constexpr int kErrHostNotFound = 11001;

// Results of WaitSocket (besides kErrInterrupted).
inline constexpr int kWaitReady = 0;
inline constexpr int kWaitFailed = -1;
inline constexpr int kWaitTimedOut = -10;

inline constexpr int kHttpTimeoutMs = 10000;

// Time limits of one request; the defaults are the program's.
struct HttpTimeouts {
  int connectMs = kHttpTimeoutMs;  // host-name lookup and connect together
  int receiveMs = kHttpTimeoutMs;  // from the request sent to the status line read
};

// 1 when the first 16 bytes of the response contain "200 OK", else 0 (also
// for every failure: bad url, no connection, no answer in time). Bytes that
// arrive in several pieces are gathered until 16 are there, the server
// closes, or the receive time is up.
int HttpGetStatusOk(const std::string& url);
int HttpGetStatusOk(const std::string& url, const HttpTimeouts& timeouts);

// A connected IPv4 TCP socket (no proxy), or null. timeout below 1000 is in
// seconds, otherwise in milliseconds, and bounds the lookup and the connect
// together; a refused connection fails at once. Qt sockets never block the
// thread, so nonBlocking changes nothing; it is kept for the callers.
std::unique_ptr<QTcpSocket> ConnectTcp(const std::string& host, int port, int timeout, bool nonBlocking);
// The connection for target, in milliseconds: for target.tls a TLS socket
// that is returned only once the handshake succeeded, the certificate
// checked against the system's authorities (and those of the PEM file
// named by KINOVUE_UPDATE_CA) and the host name.
std::unique_ptr<QTcpSocket> ConnectTarget(const HttpTarget& target, int timeoutMs);

// Waits, running the event loop, until the socket is ready for what modes
// names: 'r' readable (data, or the peer closed), 'w' writable (connected),
// 'e' failed. kWaitReady, kWaitTimedOut (LastSocketError() is then
// kErrTimedOut), or kWaitFailed: the socket failed, or the application was
// asked to quit during the wait (the wait gives way so the program can end).
// timeout as for ConnectTcp.
int WaitSocket(QTcpSocket& socket, const std::string& modes, int timeout);

// Dispatches the events waiting for the calling thread, if any.
void PumpOneMessage();

// The error number of this thread's last failed connect or wait; 0 if none.
int LastSocketError();

}  // namespace net
