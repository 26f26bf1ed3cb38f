#include "engine/run_arguments.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

// The elements after "-subcp" "cp936", where the settings begin to matter.
Args Tail(const Args& all) {
  for (std::size_t i = 0; i + 1 < all.size(); ++i)
    if (all[i] == "-subcp") return Args(all.begin() + static_cast<std::ptrdiff_t>(i + 2), all.end());
  return {};
}

TEST(RunArguments, FixedHeadInOrder) {
  const Args a = BuildRunArguments(EngineSettings{}, 77, "/m/a.avi", "/usr/share/fonts/wqy.ttc");
  const Args head(a.begin(), a.begin() + 31);
  EXPECT_EQ(head, (Args{"kinovue.exe", "-slave", "-identify", "-wid", "77", "-colorkey", "0x101010", "-vo", "directx",
                        "-autosync", "30", "-vf", "screenshot=2", "-subfont-text-scale", "3.5", "-slang", "zh,ch,tw",
                        "-double", "-sub-fuzziness", "1", "-subpos", "100", "-subalign", "2", "-spualign", "2", "-font",
                        "/usr/share/fonts/wqy.ttc", "-subcp", "cp936", "-idx"}));
}

TEST(RunArguments, DefaultsOnALocalFileHaveNoCache) {
  EngineSettings s;
  s.reIndex = true;
  s.priorityBoost = true;
  const Args a = BuildRunArguments(s, 1, "/home/u/电影.avi", "");
  EXPECT_EQ(Tail(a), (Args{"-idx", "-priority", "abovenormal", "-ao", "dsound", "-stereo", "0", "-vf",
                           "screenshot=2,expand=:::::4/3:2", "-autoq", "10", "-vf-add", "pp", "/home/u/电影.avi"}));
  // No font found: the step is left out.
  EXPECT_EQ(std::count(a.begin(), a.end(), std::string("-font")), 0);
}

TEST(RunArguments, NonLocalMediaGetTheCache) {
  EngineSettings s;
  s.playCache = 0;
  for (const std::string name : {"http://host/v.avi", "smb://server/share/v.avi", "/", "relative/v.avi"}) {
    const Args a = BuildRunArguments(s, 1, name, "");
    ASSERT_GE(a.size(), 3u);
    EXPECT_EQ(a[a.size() - 3], "-cache") << name;
    EXPECT_EQ(a[a.size() - 2], "2048") << name;  // below 1 means 2048
    EXPECT_EQ(a.back(), name);
  }
  s.playCache = 500;
  EXPECT_EQ(BuildRunArguments(s, 1, "http://h/x", "").end()[-2], "500");
}

TEST(RunArguments, OptionalStepsFollowTheSettings) {
  EngineSettings s;
  s.reIndex = false;
  s.softVol = true;
  s.priorityBoost = false;
  s.audioId = 2;
  s.audioOut = 0;  // no "-aid" without an audio output choice
  s.subId = 1;
  s.channels = 2;
  s.aspect = 3;
  s.postproc = 2;
  s.deinterlace = 2;
  EXPECT_EQ(Tail(BuildRunArguments(s, 1, "/a", "")),
            (Args{"-softvol", "-max", "100", "-ao", "dsound", "-stereo", "2", "-sid", "1", "-vf",
                  "screenshot=2,expand=:::::16/10:2", "-vf-add", "pp=hb/vb/dr", "-vf-add", "kerndeint", "/a"}));
  s.audioOut = 1;
  s.aspect = 9;    // unknown: no second filter
  s.postproc = 0;
  s.deinterlace = 1;
  s.channels = 5;  // not a channel choice: no "-stereo"
  EXPECT_EQ(Tail(BuildRunArguments(s, 1, "/a", "")),
            (Args{"-softvol", "-max", "100", "-ao", "dsound", "-aid", "2", "-sid", "1", "-vf-add", "lavcdeint", "/a"}));
  s.aspect = 2;
  const Args a = BuildRunArguments(s, 1, "/a", "");
  EXPECT_NE(std::find(a.begin(), a.end(), "screenshot=2,expand=:::::16/9:2"), a.end());
  // Normal speed adds nothing to the audio path; any other brings the filter that keeps the pitch.
  EXPECT_EQ(std::find(a.begin(), a.end(), "scaletempo"), a.end());
  s.speed = 125;
  const Args faster = Tail(BuildRunArguments(s, 1, "/a", ""));
  EXPECT_EQ(Args(faster.end() - 5, faster.end()), (Args{"-af-add", "scaletempo", "-speed", "1.25", "/a"}));
}

// The automatic aspect pads to the proportions of the screen the picture is
// on; the chosen ones stay whatever the screen.
TEST(RunArguments, AutomaticAspectTakesTheScreensProportions) {
  const struct {
    int aspect;
    ScreenSize screen;
    const char* filter;
  } rows[] = {
      {0, {1920, 1080}, "screenshot=2,expand=:::::16/9:2"},
      {0, {1920, 1200}, "screenshot=2,expand=:::::8/5:2"},
      {0, {1280, 1024}, "screenshot=2,expand=:::::5/4:2"},
      {0, {3840, 2160}, "screenshot=2,expand=:::::16/9:2"},
      {0, {2560, 1080}, "screenshot=2,expand=:::::64/27:2"},
      {0, {}, "screenshot=2,expand=:::::4/3:2"},         // not known yet
      {0, {-1, 768}, "screenshot=2,expand=:::::4/3:2"},  // not a size
      {1, {1920, 1080}, "screenshot=2,expand=:::::4/3:2"},
      {2, {1280, 1024}, "screenshot=2,expand=:::::16/9:2"},
      {3, {1024, 768}, "screenshot=2,expand=:::::16/10:2"},
  };
  for (const auto& r : rows) {
    EngineSettings s;
    s.aspect = r.aspect;
    const Args a = BuildRunArguments(s, 1, "/a", "", r.screen);
    EXPECT_NE(std::find(a.begin(), a.end(), r.filter), a.end())
        << "aspect " << r.aspect << " on " << r.screen.width << "x" << r.screen.height;
  }
}

TEST(RunArguments, ExtraParametersSplitOnSpacesOnly) {
  EngineSettings s;
  s.params = "  -fps   25\t30 \"a b\"   x";
  const Args a = BuildRunArguments(s, 1, "/a", "");
  const Args tail(a.end() - 6, a.end() - 1);
  EXPECT_EQ(tail, (Args{"-fps", "25\t30", "\"a", "b\"", "x"}));
  s.params = "   ";
  EXPECT_EQ(BuildRunArguments(s, 1, "/a", "").size(), BuildRunArguments(EngineSettings{}, 1, "/a", "").size());
}

}  // namespace
