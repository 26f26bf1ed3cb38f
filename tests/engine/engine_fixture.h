#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/mplayer_engine.h"
#include "fake_key_state.h"
#include "platform/message_window.h"
#include "temp_dir.h"

// One message as the owner window saw it; pointer parameters are copied.
struct SeenMessage {
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::string text;  // WM_ENGINE_OPEN file name, or "kind value resume" of a setting
};

// An engine hosted in a temporary program folder whose libmplayer.so is the
// given library, with an owner window on the test's thread that records
// every message it receives.
class EngineHarness {
 public:
  explicit EngineHarness(const std::string& library);
  ~EngineHarness();

  CMplayerEngine& Engine() { return *engine_; }
  FakeKeyState& Keys() { return *keys_; }
  const testsupport::TempDir& Folder() const { return folder_; }
  int Start();

  // Runs the event loop until a message with that number (and wParam, when
  // given) has been seen at or after index from; returns its index or -1.
  int WaitFor(unsigned message, std::size_t from = 0, long long wParam = -1, int timeoutMs = 8000);
  // Runs the event loop for a while, so late messages arrive.
  void Pump(int ms);
  const std::vector<SeenMessage>& Messages() const { return seen_; }
  // The messages from index from on, as "STATE 3", "FINISHED 3", "OPEN /a", ...
  std::vector<std::string> Names(std::size_t from = 0) const;

  bool Play(const std::string& file);
  bool Run(int code, std::intptr_t arg = 0);

 private:
  testsupport::TempDir folder_;
  std::shared_ptr<FakeKeyState> keys_;
  std::vector<SeenMessage> seen_;
  std::unique_ptr<platform::MessageWindow> owner_;
  std::unique_ptr<platform::MessageWindow> video_;
  std::unique_ptr<CMplayerEngine> engine_;
};

// The scripted library: writes a script file and reads what it recorded.
class EngineScript {
 public:
  explicit EngineScript(const testsupport::TempDir& dir);
  ~EngineScript();
  void Set(const std::string& script);
  // "cmd" lines of every run so far, in order.
  std::vector<std::string> Commands() const;
  // "arg" lines of the given run (0-based).
  std::vector<std::string> Arguments(int run) const;
  int Runs() const;
  int Ends() const;
  std::string Record() const;

 private:
  std::string scriptPath_, recordPath_;
};
