#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "engine/deadline_timer.h"
#include "engine/engine_settings.h"
#include "engine/engine_types.h"
#include "engine/key_table.h"
#include "engine/output_parser.h"
#include "engine/run_arguments.h"
#include "platform/dynamic_library.h"
#include "platform/key_state.h"
#include "platform/manual_reset_event.h"
#include "platform/message_window.h"
#include "settings/ini_file.h"

// Hosts the engine library ("libmplayer.so" in the program folder) in this
// process: one reader thread for the engine's life, one runner thread per
// playback run, and every change reported to the owner window.
//
// Threads: every public operation is called on the owner's (UI) thread. The
// reader and runner threads reach the owner only through SendMessage /
// PostMessage; fields they share with the UI thread are atomic.
//
// mplayer_engine.cpp holds the operations (commands as PlanCommand plans
// them, settings, keys); mplayer_engine_threads.cpp the library, the pipes,
// the start of each run and the runner and reader threads.
class CMplayerEngine final : public CPlayerEngine, private OutputEvents {
 public:
  // The library export "mplayer" and the optional "mplayer_abort".
  using EntryFunction = int (*)(int argc, char** argv, int outputFd);
  using AbortFunction = void (*)();

  // How long beginning a run waits for the previous run after "quit" before
  // ending it through the library's abort export.
  static constexpr int kQuitGraceMs = 3000;
  // How long it then waits for the aborted run.
  static constexpr int kAbortGraceMs = 2000;
  // How long a new run waits on the owner's thread for the previous one to
  // end before it is queued and started when that run has gone.
  static constexpr int kBriefWaitMs = 50;

  // folder: the program folder. keys: modifier and Caps Lock state for
  // HandleKey (the X server's when null). keyTable: the keys HandleKey
  // answers and EnumKeyHelp lists, in order; it outlives the engine.
  explicit CMplayerEngine(const std::string& folder, std::shared_ptr<const platform::KeyState> keys = nullptr,
                          std::span<const KeyRow> keyTable = {});
  ~CMplayerEngine() override;
  CMplayerEngine(const CMplayerEngine&) = delete;
  CMplayerEngine& operator=(const CMplayerEngine&) = delete;

  int Start(const EngineStartInfo* info) override;
  bool Execute(const EngineCommand* command) override;
  int GetLength() override { return media_.length; }
  EngineInfo* GetInfo(EngineInfo* info) override;
  void SetLogWindow(platform::WindowHandle window, unsigned message) override;
  int GetState() override { return media_.state; }
  bool ApplySetting(const EngineSetting* setting) override;
  bool HandleKey(unsigned virtualKey) override;
  int EnumKeyHelp(std::intptr_t context, KeyHelpCallback callback) override;
  void SetScreenSize(int width, int height) override { screen_ = {width, height}; }

 private:
  struct Runner {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  int BeginRun(const char* name);
  // Starts the run at once; no run may be in progress.
  void StartRun(bool opening);
  // Remembers that a run is to start when the current one has ended.
  // False when that run is about to end anyway (its end is being reported).
  bool QueueStart(bool opening);
  void StartQueuedRun();
  // The owner's STOP of a start that waited for the previous run.
  void CancelQueuedStart();
  bool WaitForIdle(int ms);
  bool WaitForRunEnd();
  void AbortRun();
  void OnQuitDeadline(std::uint64_t run);
  void Log(const std::string& text);
  void RunnerMain();
  void ReaderMain();
  void ReapRunners(bool all);
  bool WriteCommand(const std::string& text);
  bool Notify(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  void SetStateAndAnnounce(int noted, int newState);

  // OutputEvents, on the reader thread.
  void OnLength(int length, int resumePosition) override;
  void OnPosition(int position, int length) override;
  void OnPlaybackStarted() override;
  void OnLogLine(const char* line) override;
  void OnFailure(const char* line) override;

  platform::WindowHandle videoWindow_ = 0;
  platform::WindowHandle owner_ = 0;
  std::string folder_;
  unsigned msgLength_ = 0, msgFinished_ = 0, msgStarted_ = 0, msgState_ = 0, msgPosition_ = 0, msgVolume_ = 0,
           msgMute_ = 0, msgSetting_ = 0, msgOpen_ = 0;

  MediaFields media_;
  std::atomic<bool> quitSent_{false};  // the current run was told to quit
  // MPlayer reads the command pipe: from the start of a run until the
  // library's call returns. Commands written outside that would be carried
  // out by the next run.
  std::atomic<bool> runReading_{false};
  bool commandsDropped_ = false;  // the last write found the pipe full

  // A new run waiting for the previous one to end (UI thread and runner).
  std::mutex runMutex_;
  std::uint64_t runNumber_ = 0;  // of the latest run started
  bool startQueued_ = false;
  bool queuedOpening_ = false;
  bool endDecided_ = false;  // the current run's runner chose how to end
  bool endHandedOver_ = false;  // ... and left its end to the queued run
  std::string startError_;       // why Start failed, for every later PLAY

  int outputRead_ = -1, inputWrite_ = -1, inputRead_ = -1, outputWrite_ = -1;

  std::mutex libraryMutex_;  // reloading by the runner vs. aborting from the UI thread
  platform::DynamicLibrary library_;
  EntryFunction entry_ = nullptr;
  AbortFunction abort_ = nullptr;

  platform::ManualResetEvent runIdleEvent_{true};  // set while no run is in progress
  std::atomic<bool> readerHandling_{false};        // the reader holds output it has not handled yet
  std::vector<std::string> arguments_;
  std::thread readerThread_;
  std::thread fontLookup_;  // warms the subtitle font lookup at start
  std::vector<Runner> runners_;

  bool hasFileName_ = false;
  std::string fileName_;
  ScreenSize screen_;  // UI thread only

  std::atomic<platform::WindowHandle> logWindow_{0};
  std::atomic<unsigned> logMessage_{0};

  std::string iniPath_;
  IniFile ini_;
  EngineSettings settings_;

  std::shared_ptr<const platform::KeyState> keys_;
  std::span<const KeyRow> keyTable_;
  platform::SendGate gate_;  // closed by the destructor: no thread stays blocked on the owner
  bool started_ = false;
  std::unique_ptr<platform::MessageWindow> queue_;  // resumes a queued start on the UI thread
  platform::WindowHandle queueHandle_ = 0;          // set before any runner exists
  DeadlineTimer quitDeadline_{[this](std::uint64_t run) { OnQuitDeadline(run); }};
};
