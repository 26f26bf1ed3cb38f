#pragma once
#include <atomic>
#include <cstddef>

#include "playback/engine_state.h"

// What the engine knows about the medium of the current run. Shared by the
// UI, reader and runner threads, hence atomic.
struct MediaFields {
  std::atomic<int> state{ENGINE_STATE_STOPPED};  // EngineState
  std::atomic<int> length{0};           // whole seconds, 0 = unknown
  std::atomic<int> lastPosition{-1};    // whole seconds, -1 = none yet
  std::atomic<int> resumePosition{0};   // whole seconds, 0 = none
  std::atomic<int> videoWidth{0}, videoHeight{0}, displayWidth{0}, displayHeight{0};
  std::atomic<bool> hasVideo{false}, hasAudio{false};
  std::atomic<bool> started{false};  // the start of playback was announced

  // Per-medium information back to "nothing known".
  void ClearMedium();
};

// Where the line handler reports what it learned (the engine turns these
// into window messages).
class OutputEvents {
 public:
  virtual ~OutputEvents() = default;
  virtual void OnLength(int length, int resumePosition) = 0;
  virtual void OnPosition(int position, int length) = 0;
  virtual void OnPlaybackStarted() = 0;  // state is PLAYING already
  virtual void OnLogLine(const char* line) = 0;
  // A line that says why the run cannot play (the engine library's own, or
  // MPlayer's failure to open the medium).
  virtual void OnFailure(const char* line) = 0;
};

// The largest picture side taken from the output: the medium's own text is
// echoed there, so sizes are not trusted beyond what any display shows.
constexpr int kMaxPictureSide = 16384;

// Handles one line of engine output: a status line (the playback time), the
// line that marks the real start of playback, identification lines (length,
// sizes, kind of medium), and everything else for the log.
void HandleOutputLine(const char* line, std::size_t length, MediaFields& fields, OutputEvents& events);

// Pieces of the handler, for tests.
// Seconds of a status line ("A:" / "V:"), or -1 when the line is not one.
int StatusLineSeconds(const char* line, std::size_t length, bool hasVideo);
// Length from the text after "ID_LENGTH=": rounded to whole seconds,
// saturated to the int range.
int ParseLengthSeconds(const char* text);
