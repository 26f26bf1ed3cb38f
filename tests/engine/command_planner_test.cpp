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
      {kPaused, ENGINE_CMD_STOP, 0, Step::Write, "quit", kStopped},
      {kOpening, ENGINE_CMD_SEEK, 10, Step::Done, "", kOpening},
      {kPaused, ENGINE_CMD_SEEK, -60, Step::Write, "seek -60 0", kPlaying},
      {kOpening, ENGINE_CMD_SEEK_TO, 125, Step::Write, "seek 125 2", kPlaying},
      {kStopped, ENGINE_CMD_SEEK_PERCENT, 50, Step::Done, "", kStopped},
      {kPlaying, ENGINE_CMD_FRAME_STEP, 0, Step::Write, "frame_step", kPaused},
      {kPlaying, ENGINE_CMD_FULLSCREEN, 0, Step::FullScreen, "", kPlaying},
      {kPlaying, ENGINE_CMD_SET_CACHE, 4096, Step::StoreCache, "", kPlaying},
      {kPlaying, ENGINE_CMD_CLOSE, 0, Step::Reject, "", kPlaying},
      {kPlaying, 37, 0, Step::Reject, "", kPlaying},
      {kOpening, ENGINE_CMD_RESUME_AT, 95, Step::ResumeAt, "", kOpening},
  };
  for (const Row& r : rows) {
    const CommandPlan plan = PlanCommand(r.state, EngineSettings{}, r.code, r.arg);
    SCOPED_TRACE(testing::Message() << "state " << r.state << " code " << r.code << " arg " << r.arg);
    EXPECT_EQ(plan.step, r.step);
    EXPECT_EQ(plan.text, r.text);
    if (r.code == ENGINE_CMD_SET_CACHE) {
      EXPECT_EQ(plan.settings.playCache, 4096);
    }
    EXPECT_EQ(plan.newState, r.newState);
  }
}

}  // namespace
