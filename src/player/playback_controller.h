#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/engine_events.h"
#include "engine/engine_types.h"
#include "platform/manual_reset_event.h"
#include "player/next_to_play.h"

class CHistoryList;
class CPlayList;
class PlayPositionMemory;

// What the window shows of playback. The controller says when; the window
// reads what it needs from the controller and the engine.
class PlaybackView {
 public:
  virtual ~PlaybackView() = default;
  // The engine's state changed: title, picture, playback menu.
  virtual void ShowState(int state) = 0;
  // What can be done now changed (menus and the control strip's buttons).
  virtual void ShowPlaybackMenu() = 0;
  virtual void ShowLength(int lengthSeconds, int positionSeconds) = 0;
  virtual void ShowPosition(int positionSeconds) = 0;
  // A run is over: the clock goes back to the start, the failure (if any)
  // stays shown; endedByEngine when the engine reported the end.
  virtual void ShowRunFinished(bool endedByEngine) = 0;
  // Where the medium that opens now picks up again.
  virtual void ShowResumeNotice(int seconds) = 0;
  virtual void ShowFailure(const std::string& reason) = 0;
  virtual void ShowStarted() = 0;
  virtual void ShowVolume(int volume) = 0;
  virtual void ShowMute(bool on) = 0;
  virtual void ShowSpeed(int speed) = 0;
  // A setting's choice (ENGINE_SETTING_CHANNELS, _ASPECT, _DEINTERLACE),
  // in range.
  virtual void ShowSetting(int kind, int value) = 0;
  virtual void ShowRecentFiles() = 0;
};

// What the controller asks of the program around it, besides showing.
struct PlaybackHooks {
  std::function<PlayModes()> playModes;
  // Calls OnFinished(0) later from the UI loop, behind what is queued.
  std::function<void()> postFinishedToSelf;
  // Keeps the path as the last one opened (the open dialog starts there).
  std::function<void(const std::string& path)> saveLastOpen;
};

// What plays now and next. Turns the user's requests into engine commands
// and decides after every run what plays next: the disc queue, the path the
// user asked for, the current file again, the playlist or nothing. Runs on
// the UI thread; engine reports arrive through EngineEvents.
class PlaybackController : public EngineEvents {
 public:
  PlaybackController(PlaybackView& view, CHistoryList& history, PlaybackHooks hooks);

  // The engine, playlist and position memory of this run of the program
  // (positions may be null); Detach before any of them goes.
  void Attach(CPlayerEngine& engine, CPlayList& playlist, PlayPositionMemory* positions);
  void Detach();

  // Opening: a playing or paused engine is stopped, otherwise the decision
  // comes at once; either way the finished handler opens what was asked for.
  void RequestOpen(const std::string& path);
  // A file or address the user chose: it replaces a disc, and the open
  // dialog starts from it next time.
  void OpenChosen(const std::string& path);
  void OpenDisc(const std::string& drive);
  void OpenRecent(int index);
  // Dropped files go to the playlist's front in their order; the last plays.
  void OpenDropped(const std::vector<std::string>& paths);
  // Plays path at once (the file named at start).
  void StartWith(const std::string& path);
  // Puts paths in the playlist in their order, the first one current, so
  // that the list goes on with the second.
  void QueueInPlayList(const std::vector<std::string>& paths);
  void RememberLastOpen(const std::string& path);

  void TogglePlayPause();
  void StopPlayback();
  void PlayNext();
  void PlayPrevious();
  void SeekBy(int seconds) { Run(ENGINE_CMD_SEEK, seconds); }
  void SeekTo(int seconds);
  void SetVolume(int volume) { Run(ENGINE_CMD_SET_VOLUME, volume); }
  void ToggleMute() { Run(ENGINE_CMD_MUTE); }
  void Run(int code, std::intptr_t arg = 0);
  // A setting that restarts the medium where it is now.
  void ApplyEngineSetting(int kind, int value);
  // Nothing plays from now on. True when a run was stopped: its end is
  // worth waiting for (RunEnded, WaitForRunEnd).
  bool Close();
  bool RunEnded() const { return idle_.IsSet(); }
  void WaitForRunEnd(int timeoutMs) const { idle_.Wait(timeoutMs); }

  void OnLength(int lengthSeconds, int resumeSeconds) override;
  void OnFinished(int finalState) override;
  void OnStarted() override;
  void OnState(int state) override;
  void OnPosition(int seconds) override;
  void OnVolume(int volume) override;
  void OnMute(bool on) override;
  void OnSetting(const EngineSetting& setting) override;
  void OnOpen(const char* file) override;
  void OnError(const char* reason) override;

  // The engine's state; STOPPED without an engine.
  int EngineState() const;
  // The engine's speed; normal without an engine.
  int CurrentSpeed() const;
  int PositionSeconds() const { return positionSeconds_; }
  int LengthSeconds() const { return lengthSeconds_; }
  // The length the clock shows: none once a run is over.
  int ShownLengthSeconds() const { return shownLengthSeconds_; }
  // The state the title names: a failed run keeps ABORTED until the next.
  int TitleState() const { return titleState_; }
  const std::string& FailureReason() const { return failureReason_; }
  const std::string& PendingPath() const { return pendingPath_; }
  std::deque<std::string>& DiscQueue() { return discQueue_; }
  // Setting kind -> the choice the engine last announced.
  const std::map<int, int>& AnnouncedSettings() const { return announcedSettings_; }

 private:
  // Stops the engine, or when it is stopped already decides at once what
  // plays; either way OnFinished comes next.
  void FinishCurrentRun();
  void StopOrPostFinished();
  // The file a decision of NextToPlay names, taken off its queue; empty
  // when there is none.
  std::string TakeNextPath(const NextToPlayAction& next);

  PlaybackView& view_;
  CHistoryList& history_;
  PlaybackHooks hooks_;
  CPlayerEngine* engine_ = nullptr;
  CPlayList* playlist_ = nullptr;
  PlayPositionMemory* positions_ = nullptr;
  platform::ManualResetEvent idle_{true};  // set while no run is under way

  std::deque<std::string> discQueue_;
  std::string pendingPath_;
  bool stopRequested_ = false;
  bool nextRequested_ = false;
  bool previousRequested_ = false;
  bool closing_ = false;
  int positionSeconds_ = 0;
  int lengthSeconds_ = 0;
  int shownLengthSeconds_ = 0;
  int titleState_ = ENGINE_STATE_STOPPED;
  std::string failureReason_;  // why the last run could not play
  std::map<int, int> announcedSettings_;
};
