#pragma once
#include <functional>
#include <optional>
#include <string>

#include "history/play_position_store.h"

// What becomes of a medium's position when playback leaves it.
enum class LeaveAction {
  Keep,      // nothing is learned: whatever is stored stays
  Remember,  // store the position
  Forget,    // played to (nearly) the end, or left at the very start
};

// Media shorter than this are never remembered (seconds).
inline constexpr int kShortestRememberedLength = 180;
// Leaving this close to the end counts as playing to the end.
inline constexpr int kEndMargin = 30;
// A medium picks up this much before where it was left.
inline constexpr int kResumeRewind = 5;

LeaveAction ActionOnLeaving(int lengthSeconds, int positionSeconds);
// Where a medium left at storedSeconds starts again; 0 is the beginning.
int ResumeSecondsFor(int storedSeconds);

// Picks up local files where they were left. The main window tells it what
// it opens and what the engine reports; it keeps the newest positions in the
// store, keyed by path and file version. Streams and discs are never
// resumed (the window says which media may be). While switched off it starts
// everything at the beginning and stores nothing, but forgets nothing
// either. UI thread only.
class PlayPositionMemory {
 public:
  using Identify = std::function<std::optional<platform::FileIdentity>(const std::string& path)>;

  explicit PlayPositionMemory(const std::string& storePath, Identify identify = platform::IdentifyRegularFile);

  // Reads the store (once, at start).
  void Load();
  void SetEnabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }

  // path is about to play; resumable: a local file that is not part of a
  // disc. Whatever played before is left first. Returns the whole second to
  // start at, 0 for the beginning.
  int Opening(const std::string& path, bool resumable);
  // The medium plays again without being opened anew (a replay, a restart
  // after a setting changed).
  void PlayingAgain();
  // From the engine's messages.
  void LengthKnown(int seconds, int resumeSeconds);
  void PositionMoved(int seconds);
  // Playback left the medium (stopped, ended, failed, the program closing):
  // its position is remembered or forgotten once.
  void Left();

  const PlayPositionStore& Store() const { return store_; }

 private:
  struct Medium {
    std::string path;
    platform::FileIdentity identity;
    int length = 0;
    int position = 0;
    bool moved = false;  // playback reported a position since it (re)started
    bool left = false;
  };

  PlayPositionStore store_;
  Identify identify_;
  bool enabled_ = true;
  std::optional<Medium> medium_;  // the resumable medium opened last
};
