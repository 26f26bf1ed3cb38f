#pragma once
#include <functional>
#include <memory>
#include <string>

#include "engine/engine_events.h"
#include "mainwindow/media_remote_state.h"

class CPlayerEngine;

// The desktop's media controls (media keys, panels, headsets): their
// requests become the player's own operations, and what the engine reports
// keeps what they are shown. Nothing is shown before Publish.
class MediaRemoteLink : public EngineEvents {
 public:
  // What the controls' requests become, in the player's own units, and what
  // they read of it. Each is called on the UI thread.
  struct Player {
    std::function<CPlayerEngine*()> engine;  // null while there is none
    std::function<bool()> listHasItems;      // Next and Previous have somewhere to go
    std::function<void()> raise;
    std::function<void(int id)> command;  // a menu command: exit, play, pause
    std::function<void()> playPause, stop, next, previous;
    std::function<void(int seconds)> seekBy;
    std::function<void(int seconds)> seekTo;
    std::function<void(const std::string& path)> open;
    std::function<void(int percent)> setVolume;
    std::function<void(int speed)> setSpeed;
    std::function<void(bool on)> setFullScreen;
  };

  MediaRemoteLink();
  ~MediaRemoteLink() override;

  // Puts the controls on the session bus (nothing without one), starting
  // from what the engine is doing now.
  void Publish(Player player);

  // What the engine reports.
  void OnOpen(const char* file) override;
  void OnState(int engineState) override;
  void OnLength(int seconds, int resumeSeconds) override;
  void OnPosition(int seconds) override;
  void OnVolume(int volume) override;
  void OnSetting(const EngineSetting& setting) override;  // the speed
  void OnFinished(int finalState) override;
  void OnStarted() override {}
  void OnMute(bool) override {}
  void OnError(const char*) override {}
  // The window entered or left full screen.
  void OnFullScreen(bool on);

 private:
  bool Live() const;
  int EngineState() const;
  void Show(bool jumped = false);
  platform::MediaRemoteRequests Requests();

  Player player_;
  MediaRemoteState state_;
  std::unique_ptr<platform::MediaRemoteBus> bus_;
};
