#pragma once

// What the control panel asks of the main window, and the two things it
// reads from it. The main window implements this; tests use a recorder.
// All calls come on the GUI thread, from inside the panel's mouse handling.
class ControlPanelHost {
 public:
  virtual ~ControlPanelHost() = default;

  virtual void TogglePlayPause() = 0;
  virtual void StopPlayback() = 0;
  virtual void PlayPrevious() = 0;
  virtual void PlayNext() = 0;
  virtual void ToggleMute() = 0;
  // Seek by a signed number of seconds from the current position.
  virtual void SeekBy(int seconds) = 0;
  virtual void SetVolume(int volume) = 0;

  // The engine's state: 0 opening, 1 playing, 2 paused, 3 stopped,
  // 4 aborted.
  virtual int CurrentEngineState() const = 0;
  // The playback position in whole seconds, as last reported by the engine.
  virtual int CurrentPosition() const = 0;
};
