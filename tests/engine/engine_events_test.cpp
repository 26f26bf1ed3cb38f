#include "engine/engine_events.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Writes down each typed call as one line.
struct CallLog : EngineEvents {
  std::string calls;
  void Note(const std::string& call) { calls += (calls.empty() ? "" : "; ") + call; }
  void OnLength(int length, int resume) override { Note("length " + std::to_string(length) + " " + std::to_string(resume)); }
  void OnFinished(int finalState) override { Note("finished " + std::to_string(finalState)); }
  void OnStarted() override { Note("started"); }
  void OnState(int state) override { Note("state " + std::to_string(state)); }
  void OnPosition(int seconds) override { Note("position " + std::to_string(seconds)); }
  void OnVolume(int volume) override { Note("volume " + std::to_string(volume)); }
  void OnMute(bool on) override { Note(on ? "mute on" : "mute off"); }
  void OnSetting(const EngineSetting& s) override {
    Note("setting " + std::to_string(s.kind) + " " + std::to_string(s.value) + " " + std::to_string(s.resumePosition));
  }
  void OnOpen(const char* file) override { Note(std::string("open ") + (file ? file : "(none)")); }
  void OnError(const char* reason) override { Note(std::string("error ") + (reason ? reason : "(none)")); }
};

TEST(EngineEvents, EachPostedMessageBecomesItsTypedCall) {
  static EngineSetting aspect{ENGINE_SETTING_ASPECT, 2, 95};
  static const char kFile[] = "/media/片.mkv";
  static const char kWhy[] = "无法打开";
  struct Case {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool delivered;
    const char* calls;
  };
  const Case cases[] = {
      {WM_ENGINE_LENGTH, 5400, 120, true, "length 5400 120"},
      {WM_ENGINE_FINISHED, ENGINE_STATE_STOPPED, 0, true, "finished 3"},
      {WM_ENGINE_FINISHED, 0, 0, true, "finished 0"},
      {WM_ENGINE_STARTED, 0, 0, true, "started"},
      {WM_ENGINE_STATE, ENGINE_STATE_PAUSED, 0, true, "state 2"},
      {WM_ENGINE_POSITION, 61, 5400, true, "position 61"},
      {WM_ENGINE_VOLUME, 40, 0, true, "volume 40"},
      {WM_ENGINE_MUTE, 1, 0, true, "mute on"},
      {WM_ENGINE_MUTE, 0, 0, true, "mute off"},
      {WM_ENGINE_SETTING, reinterpret_cast<std::uintptr_t>(&aspect), 0, true, "setting 1 2 95"},
      {WM_ENGINE_SETTING, 0, 0, true, ""},  // no record: nothing to show
      {WM_ENGINE_OPEN, reinterpret_cast<std::uintptr_t>(kFile), 0, true, "open /media/片.mkv"},
      {WM_ENGINE_OPEN, 0, 0, true, "open (none)"},
      {WM_ENGINE_ERROR, reinterpret_cast<std::uintptr_t>(kWhy), 0, true, "error 无法打开"},
      // Not engine reports: the window handles them itself.
      {0x415, 1, 0, false, ""},  // an update result
      {WM_ENGINE_LOG_LINE, reinterpret_cast<std::uintptr_t>(kFile), 0, false, ""},
  };
  for (const Case& c : cases) {
    CallLog log;
    EXPECT_EQ(DeliverEngineMessage(c.message, c.wParam, c.lParam, log), c.delivered) << std::hex << c.message;
    EXPECT_EQ(log.calls, c.calls) << std::hex << c.message;
  }
}

}  // namespace
