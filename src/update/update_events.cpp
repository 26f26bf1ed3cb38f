#include "update/update_events.h"

#include "update/update_library.h"

std::optional<std::intptr_t> DeliverUpdateMessage(unsigned message, std::uintptr_t wParam, std::intptr_t,
                                                  UpdateEvents& events) {
  switch (message) {
    case WM_UPDATE_CACHED:
      if (const auto* paths = reinterpret_cast<const CachedUpdatePaths*>(wParam)) events.OnCached(*paths);
      return 0;
    case WM_UPDATE_RESULT: events.OnResult(static_cast<int>(wParam)); return 0;
    case WM_UPDATE_QUESTION: return events.AskRestartNow() ? 1 : 0;
    default: return std::nullopt;
  }
}
