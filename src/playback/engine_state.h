#pragma once

// The engine's state as the engine keeps it and as the main window and the
// control strip show it. Header-only and below both the engine and the
// controls, so the strip can name the states without depending on the
// engine.
enum EngineState : int {
  ENGINE_STATE_OPENING = 0,  // a run was started, nothing shown yet
  ENGINE_STATE_PLAYING = 1,
  ENGINE_STATE_PAUSED = 2,
  ENGINE_STATE_STOPPED = 3,  // no run; the initial state
  ENGINE_STATE_ABORTED = 4,  // never kept: a run that ended early, followed by STOPPED
};
