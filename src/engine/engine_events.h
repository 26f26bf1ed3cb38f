#pragma once
#include <cstdint>

#include "engine/engine_types.h"

// What the engine reports, as typed calls. The engine posts its reports as
// window messages, which is what brings them onto the UI thread; there
// DeliverEngineMessage turns each back into one of these calls.
class EngineEvents {
 public:
  virtual ~EngineEvents() = default;
  virtual void OnLength(int lengthSeconds, int resumeSeconds) = 0;
  // finalState is ENGINE_STATE_STOPPED from the engine, 0 when the window
  // asks itself to decide what plays next.
  virtual void OnFinished(int finalState) = 0;
  virtual void OnStarted() = 0;
  virtual void OnState(int state) = 0;
  virtual void OnPosition(int seconds) = 0;
  virtual void OnVolume(int volume) = 0;
  virtual void OnMute(bool on) = 0;
  virtual void OnSetting(const EngineSetting& setting) = 0;
  virtual void OnOpen(const char* file) = 0;  // may be null
  virtual void OnError(const char* reason) = 0;  // may be null
};

// Hands one posted engine message to `to` as its typed call. False for a
// message that is not an engine report (nothing is called). The only place
// where the engine's values are read out of wParam and lParam.
bool DeliverEngineMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, EngineEvents& to);
