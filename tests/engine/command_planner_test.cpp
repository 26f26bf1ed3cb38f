#include "engine/command_planner.h"

#include <gtest/gtest.h>

#include "engine/engine_types.h"

namespace {

using Step = CommandPlan::Step;

constexpr int kStopped = ENGINE_STATE_STOPPED, kOpening = ENGINE_STATE_OPENING, kPlaying = ENGINE_STATE_PLAYING,
              kPaused = ENGINE_STATE_PAUSED;

// The playback state machine, without a run or a thread.
TEST(CommandPlanner, StepTextAndStateFollowTheState) {
  struct Row {
    int state, code;
    std::intptr_t arg;
    Step step;
    const char* text;
    int newState;
  } rows[] = {
      {kStopped, ENGINE_CMD_PLAY, 1, Step::OpenFile, "", kOpening},
      {kPlaying, ENGINE_CMD_PLAY, 1, Step::OpenFile, "", kOpening},
      {kStopped, ENGINE_CMD_PLAY, 0, Step::Replay, "", kPlaying},
      {kPaused, ENGINE_CMD_PLAY, 0, Step::Write, "pause", kPlaying},
      {kOpening, ENGINE_CMD_PLAY, 0, Step::Done, "", kOpening},
      {kPlaying, ENGINE_CMD_PAUSE, 0, Step::Write, "pause", kPaused},
      {kOpening, ENGINE_CMD_PAUSE, 0, Step::Write, "pause", kPlaying},
      {kStopped, ENGINE_CMD_PAUSE, 0, Step::Done, "", kStopped},
      {kStopped, ENGINE_CMD_STOP, 0, Step::Done, "", kStopped},
      {kPaused, ENGINE_CMD_STOP, 0, Step::Write, "quit", kStopped},
      {kOpening, ENGINE_CMD_SEEK, 10, Step::Done, "", kOpening},
      {kPaused, ENGINE_CMD_SEEK, -60, Step::Write, "seek -60 0", kPlaying},
      {kPlaying, ENGINE_CMD_SEEK, 0, Step::Done, "", kPlaying},
      {kOpening, ENGINE_CMD_SEEK_TO, 125, Step::Write, "seek 125 2", kPlaying},
      {kStopped, ENGINE_CMD_SEEK_PERCENT, 50, Step::Done, "", kStopped},
      {kPlaying, ENGINE_CMD_FRAME_STEP, 0, Step::Write, "frame_step", kPaused},
      {kPaused, ENGINE_CMD_SUB_DELAY, -100, Step::Write, "sub_delay -0.1", kPaused},
      {kPlaying, ENGINE_CMD_PANSCAN, 0, Step::Done, "", kPlaying},
      {kPlaying, ENGINE_CMD_FULLSCREEN, 0, Step::FullScreen, "", kPlaying},
      {kPlaying, ENGINE_CMD_CLOSE, 0, Step::Reject, "", kPlaying},
      {kPlaying, 35, 0, Step::Reject, "", kPlaying},
  };
  for (const Row& r : rows) {
    const CommandPlan plan = PlanCommand(r.state, EngineSettings{}, r.code, r.arg);
    SCOPED_TRACE(testing::Message() << "state " << r.state << " code " << r.code << " arg " << r.arg);
    EXPECT_EQ(plan.step, r.step);
    EXPECT_EQ(plan.text, r.text);
    if (r.step != Step::Reject && r.step != Step::Done) {
      EXPECT_EQ(plan.newState, r.newState);
    }
  }
}

// Volume, mute, OSD level and cache change in the plan, whatever the state.
TEST(CommandPlanner, SettingsTheCommandLeavesBehind) {
  EngineSettings s;
  s.volume = 3;
  s.osdLevel = 3;
  CommandPlan plan = PlanCommand(kStopped, s, ENGINE_CMD_CHANGE_VOLUME, -5);
  EXPECT_EQ(plan.text, "volume 0 1");
  EXPECT_EQ(plan.settings.volume, 0);
  plan = PlanCommand(kStopped, s, ENGINE_CMD_OSD, -1);
  EXPECT_EQ(plan.text, "osd 0");
  EXPECT_EQ(plan.settings.osdLevel, 0);
  plan = PlanCommand(kPlaying, s, ENGINE_CMD_MUTE, 0);
  EXPECT_EQ(plan.text, "mute");
  EXPECT_TRUE(plan.settings.mute);
  EXPECT_EQ(plan.newState, kPlaying);
  plan = PlanCommand(kPlaying, s, ENGINE_CMD_SET_CACHE, 4096);
  EXPECT_EQ(plan.step, Step::StoreCache);
  EXPECT_EQ(plan.settings.playCache, 4096);
  EXPECT_EQ(plan.settings.volume, 3);  // nothing else moves
}

}  // namespace
