#include "engine/engine_events.h"

bool DeliverEngineMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, EngineEvents& to) {
  switch (message) {
    case WM_ENGINE_LENGTH: to.OnLength(static_cast<int>(wParam), static_cast<int>(lParam)); return true;
    case WM_ENGINE_FINISHED: to.OnFinished(static_cast<int>(wParam)); return true;
    case WM_ENGINE_STARTED: to.OnStarted(); return true;
    case WM_ENGINE_STATE: to.OnState(static_cast<int>(wParam)); return true;
    case WM_ENGINE_POSITION: to.OnPosition(static_cast<int>(wParam)); return true;
    case WM_ENGINE_VOLUME: to.OnVolume(static_cast<int>(wParam)); return true;
    case WM_ENGINE_MUTE: to.OnMute(wParam != 0); return true;
    case WM_ENGINE_SETTING:
      // A setting report without its record carries nothing to show.
      if (const auto* setting = reinterpret_cast<const EngineSetting*>(wParam)) to.OnSetting(*setting);
      return true;
    case WM_ENGINE_OPEN: to.OnOpen(reinterpret_cast<const char*>(wParam)); return true;
    case WM_ENGINE_ERROR: to.OnError(reinterpret_cast<const char*>(wParam)); return true;
    default: return false;
  }
}
