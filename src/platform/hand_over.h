#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/message_window.h"

// Hand-over of a block of bytes from a second instance of the program to the
// running one, addressed by the running window's handle. The running
// instance listens on a Unix-domain socket named after the handle (decimal)
// in the private runtime folder; the sender connects, writes one message and
// waits for a one-byte answer that the receiver sends after its handler
// returned, so the sender knows the message was handled.
//
// Message: dwData (8 bytes), cbData (4 bytes), both little-endian, then
// cbData bytes. The receiver takes only dwData 0 with a cbData of at most
// kMaxHandOverBytes that matches the bytes that came; anything else (garbage,
// a connection closed early, more bytes than announced, a silent client) is
// dropped without an answer and the connection closed. Clients are served
// side by side, each against its own deadline, so a silent or slow one holds
// up nobody; beyond a generous number of open clients a new one is closed at
// once. A close without an answer means the message was not taken.
namespace platform {

// The paths of a whole selection of files, each with its zero byte.
inline constexpr std::uint32_t kMaxHandOverBytes = 256 * 1024;
inline constexpr int kHandOverTimeoutMs = 5000;
// A real sender writes its few bytes at once after connecting.
inline constexpr int kHandOverClientTimeoutMs = 1000;

inline constexpr std::size_t kHandOverHeaderBytes = 12;  // dwData 8, cbData 4

enum class HandOverReading {
  Incomplete,  // a valid start: more bytes are due
  Whole,       // one whole message to take: its bytes follow the header
  Refused,     // never a message to take
};
// What the receiver makes of the bytes a client sent so far.
HandOverReading ReadHandOverMessage(std::string_view received);

// Runs on the thread that created the server, from its Qt event loop, with
// the message's bytes exactly as sent.
using HandOverHandler = std::function<void(const std::string& bytes)>;

// The socket's path for a handle: folder + "/" + decimal handle. folder
// empty: the private runtime folder; empty result when there is none.
std::string HandOverSocketPath(WindowHandle handle, const std::string& folder = {});

class HandOverServer {
 public:
  // Listens for the handle at once. A file already at the socket's path is
  // removed first: the caller holds the single-instance lock, so whatever is
  // there was left behind by an instance that died. A client that has not
  // sent a whole message within clientTimeoutMs is dropped. Needs a Qt event
  // loop on the creating thread; create and destroy it on that thread.
  HandOverServer(WindowHandle handle, HandOverHandler handler, const std::string& folder = {},
                 int clientTimeoutMs = kHandOverClientTimeoutMs);
  // Stops listening and removes the socket file; open connections are closed
  // unanswered.
  ~HandOverServer();
  HandOverServer(const HandOverServer&) = delete;
  HandOverServer& operator=(const HandOverServer&) = delete;

  bool IsListening() const;
  const std::string& SocketPath() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

// Sends one message to the server of target and waits for its answer, at
// most timeoutMs in all. True only when the receiver's handler ran and
// answered. False at once when no socket exists for the handle or nobody
// listens on it (an instance that died) and when the receiver closed without
// an answer (the message was not taken: worth another try); false after at
// most timeoutMs when the receiver does not answer (the message may still be
// handled: not worth another try); false for bytes over kMaxHandOverBytes. Any
// thread; needs no event loop. Must not target a server of its own thread,
// whose handler could not run while this waits.
bool SendHandOver(WindowHandle target, std::uint64_t dwData, const std::string& bytes,
                  int timeoutMs = kHandOverTimeoutMs, const std::string& folder = {});

}  // namespace platform
