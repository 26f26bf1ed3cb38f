#pragma once
#include <cstdint>
#include <optional>

struct CachedUpdatePaths;

// What the update check's worker tells the program. The worker sends these
// as window messages only to get them onto the UI thread; there they are
// handed on as typed calls (DeliverUpdateMessage).
enum : unsigned {
  WM_UPDATE_CACHED = 0x414,    // wParam const CachedUpdatePaths*, valid while the send waits
  WM_UPDATE_RESULT = 0x415,    // wParam the check's result code (update_result.h)
  WM_UPDATE_QUESTION = 0x417,  // asks for the restart; the answer (non-zero: Yes) is the result
};

class UpdateEvents {
 public:
  virtual ~UpdateEvents() = default;
  // The restart a newer program needs was postponed (or its helper did not
  // answer): these folders are for the next start.
  virtual void OnCached(const CachedUpdatePaths& paths) = 0;
  // The check ended with code.
  virtual void OnResult(int code) = 0;
  // Whether the program may close now to be replaced.
  virtual bool AskRestartNow() = 0;
};

// Hands one of the update messages to events and gives the message's result;
// nothing, and no call, for any other message.
std::optional<std::intptr_t> DeliverUpdateMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                                  UpdateEvents& events);
