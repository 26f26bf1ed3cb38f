#pragma once
#include <cstdint>
#include <string>

#include "engine/engine_settings.h"

// What one engine command does, worked out from the playback state and the
// settings alone. The host carries the plan out: it writes the text, begins
// runs, notifies the owner and stores the changed settings.
struct CommandPlan {
  enum class Step {
    Reject,      // CLOSE or an unknown code: the command fails
    Done,        // nothing to write in this state
    Write,       // write text; once written the state becomes newState
    StoreCache,  // the cache size changed; no text, no state step
    OpenFile,    // PLAY with a name: begin a run with that medium
    Replay,      // PLAY without a name while stopped: run the stored medium again
    FullScreen,  // ask the video window for a full-screen toggle
    Speed,       // the speed changed: write text (none while stopped), store and report the speed
    ResumeAt,    // the next run begun starts at arg seconds
  };
  Step step = Step::Reject;
  std::string text;  // the slave command, without its LF (Speed: one or two lines)
  int newState = 0;  // for Write
  // Volume, mute, OSD level and cache as the command leaves them; they stay
  // changed even when the text cannot be written.
  EngineSettings settings;
};

// state: an EngineState. arg: the command's argument (for PLAY a file name
// pointer, only tested for null here).
CommandPlan PlanCommand(int state, const EngineSettings& settings, int code, std::intptr_t arg);
