// The engine host with the real MPlayer program through our engine library,
// headless (no display: the library picks the null video output).
#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <cstdlib>

#include "engine_fixture.h"
#include "test_media.h"

namespace {

class RealPlayback : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("DISPLAY"); }
  EngineHarness h{testsupport::ProgramFolder() + "libmplayer.so"};

  std::vector<int> Positions(std::size_t from = 0) {
    std::vector<int> out;
    for (std::size_t i = from; i < h.Messages().size(); ++i)
      if (h.Messages()[i].message == WM_ENGINE_POSITION) out.push_back(static_cast<int>(h.Messages()[i].wParam));
    return out;
  }
};

TEST_F(RealPlayback, AClipPlaysToItsNaturalEnd) {
  const std::string clip = testsupport::VideoClip();
  ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the test clip";
  ASSERT_EQ(h.Start(), 0);
  ASSERT_TRUE(h.Play(clip));
  const int length = h.WaitFor(WM_ENGINE_LENGTH);
  ASSERT_GE(length, 0);
  EXPECT_EQ(h.Messages()[length].wParam, 3u);
  ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED), 0);
  EngineInfo info;
  h.Engine().GetInfo(&info);
  EXPECT_TRUE(info.hasVideo);
  EXPECT_EQ(info.videoWidth, 320);
  EXPECT_EQ(info.videoHeight, 240);
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED, 0, -1, 20000), 0);
  const auto positions = Positions();
  ASSERT_GE(positions.size(), 2u);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_GE(positions.back(), 2);
  const auto names = h.Names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "STATE 4"), 0);  // a natural end is no early end
  EXPECT_EQ(names.back(), "FINISHED 3");
}

TEST_F(RealPlayback, PauseResumeSeekAndStop) {
  const std::string clip = testsupport::LongVideoClip();
  ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the test clip";
  ASSERT_EQ(h.Start(), 0);
  ASSERT_TRUE(h.Play(clip));
  ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED, 0, -1, 15000), 0);
  ASSERT_GE(h.WaitFor(WM_ENGINE_POSITION, 0, 1), 0);
  ASSERT_TRUE(h.Run(ENGINE_CMD_PAUSE));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PAUSED);
  h.Pump(300);
  const std::size_t paused = h.Messages().size();
  h.Pump(1200);
  EXPECT_TRUE(Positions(paused).empty()) << "the time went on while paused";
  ASSERT_TRUE(h.Run(ENGINE_CMD_PLAY, 0));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PLAYING);
  const std::size_t beforeSeek = h.Messages().size();
  ASSERT_TRUE(h.Run(ENGINE_CMD_SEEK_TO, 15));
  ASSERT_GE(h.WaitFor(WM_ENGINE_POSITION, beforeSeek, 15, 5000), 0) << "the seek did not reach 15 s";
  const std::size_t beforeStop = h.Messages().size();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(h.Run(ENGINE_CMD_STOP));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED, beforeStop, -1, 5000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_STOPPED);
}

TEST_F(RealPlayback, SoundOnlyStartsThroughTheAudioOutput) {
  const std::string tone = testsupport::SoundClip();
  ASSERT_FALSE(tone.empty()) << "ffmpeg could not make the test tone";
  ASSERT_EQ(h.Start(), 0);
  ASSERT_TRUE(h.Play(tone));
  ASSERT_GE(h.WaitFor(WM_ENGINE_STARTED, 0, -1, 15000), 0);
  EngineInfo info;
  h.Engine().GetInfo(&info);
  EXPECT_FALSE(info.hasVideo);
  EXPECT_TRUE(info.hasAudio);
  EXPECT_EQ(h.Engine().GetState(), ENGINE_STATE_PLAYING);
  // Without a sound server MPlayer first says "AO: [pulse] Init failed" and
  // then names the output that works: only that one starts playback.
  ASSERT_GE(h.WaitFor(WM_ENGINE_POSITION, 0, -1, 5000), 0);
  const auto names = h.Names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "STARTED"), 1);
  ASSERT_TRUE(h.Run(ENGINE_CMD_STOP));
  ASSERT_GE(h.WaitFor(WM_ENGINE_FINISHED, 0, -1, 5000), 0);
}

// A title with line breaks prints lines that look like the engine's own: a
// length, a failure, a picture, the host's end-of-run mark. None of them may
// steer the host.
TEST_F(RealPlayback, TagsThatLookLikeEngineLinesAreOnlyText) {
  const std::string title =
      "x\nID_LENGTH=1234\nFailed to open evil\nID_VIDEO_WIDTH=99\nVO: [x11] 9x9 => 9x9\n\x01kinovue:end-of-run\rID_LENGTH=77";
  for (const char* container : {"mkv", "avi"}) {
    SCOPED_TRACE(container);
    const std::string clip = testsupport::MadeClip(std::string("tagged.") + container,
                                                   {"-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-metadata",
                                                    "title=" + title, "-c:a", "mp2"});
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the test clip";
    EngineHarness run{testsupport::ProgramFolder() + "libmplayer.so"};
    ASSERT_EQ(run.Start(), 0);
    ASSERT_TRUE(run.Play(clip));
    ASSERT_GE(run.WaitFor(WM_ENGINE_FINISHED, 0, -1, 20000), 0);
    EngineInfo info;
    run.Engine().GetInfo(&info);
    EXPECT_EQ(info.videoWidth, 0);  // there is no picture at all
    EXPECT_EQ(info.displayWidth, 0);
    for (const SeenMessage& seen : run.Messages()) {
      EXPECT_NE(seen.message, static_cast<unsigned>(WM_ENGINE_ERROR));
      if (seen.message == WM_ENGINE_LENGTH) {
        EXPECT_EQ(seen.wParam, 3u);
      }
    }
  }
}

}  // namespace
