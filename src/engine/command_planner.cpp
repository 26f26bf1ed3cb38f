#include "engine/command_planner.h"

#include <algorithm>

#include "engine/command_set.h"
#include "engine/engine_types.h"
#include "engine/playback_speed.h"

namespace {

// The classic "%u" of a signed number.
std::string AsUnsigned(std::intptr_t arg) { return std::to_string(static_cast<unsigned>(static_cast<int>(arg))); }

}  // namespace

CommandPlan PlanCommand(int state, const EngineSettings& settings, int code, std::intptr_t arg) {
  using Step = CommandPlan::Step;
  CommandPlan plan{Step::Done, {}, state, settings};
  EngineSettings& s = plan.settings;
  auto write = [&plan](std::string text, int newState) {
    plan.step = Step::Write;
    plan.text = std::move(text);
    plan.newState = newState;
    return plan;
  };

  switch (code) {
    case ENGINE_CMD_NONE:
      return plan;
    case ENGINE_CMD_SET_CACHE:
      s.playCache = static_cast<int>(arg);
      plan.step = Step::StoreCache;
      return plan;
    case ENGINE_CMD_PLAY:
      if (arg != 0) {
        plan.step = Step::OpenFile;
        plan.newState = ENGINE_STATE_OPENING;
        return plan;
      }
      if (state == ENGINE_STATE_STOPPED) {
        plan.step = Step::Replay;
        plan.newState = ENGINE_STATE_PLAYING;
        return plan;
      }
      if (state != ENGINE_STATE_PAUSED) return plan;
      return write("pause", ENGINE_STATE_PLAYING);
    case ENGINE_CMD_PAUSE:
      if (state == ENGINE_STATE_STOPPED) return plan;
      return write("pause", state == ENGINE_STATE_PLAYING ? ENGINE_STATE_PAUSED : ENGINE_STATE_PLAYING);
    case ENGINE_CMD_STOP:
      if (state == ENGINE_STATE_STOPPED) return plan;
      return write("quit", ENGINE_STATE_STOPPED);
    case ENGINE_CMD_SEEK:
      if ((state != ENGINE_STATE_PLAYING && state != ENGINE_STATE_PAUSED) || arg == 0) return plan;
      return write("seek " + SignedAmount(arg, true) + " 0", ENGINE_STATE_PLAYING);
    case ENGINE_CMD_SEEK_TO:
      if (state == ENGINE_STATE_STOPPED) return plan;
      return write("seek " + AsUnsigned(arg) + " 2", ENGINE_STATE_PLAYING);
    case ENGINE_CMD_SEEK_PERCENT:
      if (state == ENGINE_STATE_STOPPED) return plan;
      return write("seek " + AsUnsigned(arg) + " 1", ENGINE_STATE_PLAYING);
    case ENGINE_CMD_SET_VOLUME:
    case ENGINE_CMD_CHANGE_VOLUME: {
      const long long base = code == ENGINE_CMD_CHANGE_VOLUME ? s.volume : 0;
      s.volume = static_cast<int>(std::clamp<long long>(base + static_cast<int>(arg), 0, 100));
      return write("volume " + std::to_string(s.volume) + " 1", state);
    }
    case ENGINE_CMD_MUTE:
      s.mute = !s.mute;
      return write("mute", state);
    case ENGINE_CMD_FRAME_STEP:
      if (state == ENGINE_STATE_STOPPED) return plan;
      return write("frame_step", ENGINE_STATE_PAUSED);
    case ENGINE_CMD_OSD:
      s.osdLevel = arg == -1 ? (s.osdLevel + 1) % 4 : static_cast<int>(std::clamp<std::intptr_t>(arg, 0, 3));
      return write("osd " + std::to_string(s.osdLevel), state);
    case ENGINE_CMD_FULLSCREEN:
      plan.step = Step::FullScreen;
      return plan;
    case ENGINE_CMD_SET_SPEED: {
      const int from = s.speed;
      s.speed = ClampSpeed(arg);
      plan.step = Step::Speed;
      // Between runs the next run's arguments carry the speed.
      if (state != ENGINE_STATE_STOPPED) plan.text = SpeedChangeCommands(from, s.speed);
      return plan;
    }
    case ENGINE_CMD_RESUME_AT:
      plan.step = Step::ResumeAt;
      return plan;
    default: {
      const auto plain = PlainCommandText(code, arg);
      if (!plain) {
        plan.step = Step::Reject;  // CLOSE and unknown codes
        return plan;
      }
      if (plain->empty()) return plan;
      return write(*plain, state);
    }
  }
}
