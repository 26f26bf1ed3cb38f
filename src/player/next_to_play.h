#pragma once

// Where the file of the next run comes from when a run has finished.
enum class NextSource {
  StopHere,     // a stop was asked for or the window is closing: nothing plays, nothing is refreshed
  Nothing,      // nothing to play: the player stays stopped
  DiscQueue,    // the front of the opened disc's queue
  PendingPath,  // the file the user just asked for
  CurrentFile,  // the engine's file again
  PlayList,     // the playlist's choice, walked as `walk` says
};

// The play-mode arguments of the playlist's GetNext.
struct PlayListWalk {
  bool playFromList = false;
  bool random = false;
  bool repeatCurrent = false;
  bool loop = false;
  bool forward = false;
  bool operator==(const PlayListWalk&) const = default;
};

// The play-mode settings the decision reads.
struct PlayModes {
  bool repeatCurrent = false;
  bool autoPlayFromList = false;
  bool playFromList = false;
  bool random = false;
  bool loop = false;
  bool forward = false;
};

// Everything known when a run has finished.
struct NextToPlayInputs {
  bool stopRequested = false;
  bool closing = false;
  bool discQueued = false;   // the disc queue has files left
  bool pathPending = false;  // the user asked for a file
  bool nextRequested = false;
  bool previousRequested = false;
  bool hasPlayList = false;
  PlayModes modes;
};

struct NextToPlayAction {
  NextSource source = NextSource::Nothing;
  PlayListWalk walk;  // only for NextSource::PlayList
  bool operator==(const NextToPlayAction&) const = default;
};

// The first rule that applies: a stop request ends it; then the disc queue,
// the pending path, the current file again (repeat, unless Next or Previous
// was asked for), the playlist (Next, Previous or automatic play), nothing.
NextToPlayAction NextToPlay(const NextToPlayInputs& in);
