// A Chinese subtitle beside a clip, played by the real MPlayer through the
// engine library on a private X server, and read back from the screen.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "engine_harness.h"
#include "platform/font_lookup.h"
#include "temp_dir.h"
#include "test_media.h"
#include "xvfb.h"

using namespace enginetest;

namespace {

// The screen is exactly as large as the clip, so MPlayer's own window covers it.
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kBandTop = kHeight * 2 / 3;
// Six characters drawn as glyphs light about 180 pixels of the band; a row of
// missing-glyph marks about 40, a wrongly decoded line about 60.
constexpr int kGlyphPixels = 120;

// The subtitle band, one flag per pixel: text-coloured (near white) or not.
using Band = std::vector<bool>;

Band GrabBand(const std::string& display, const std::string& file) {
  testsupport::RunWithDisplay(display, "import -window root -depth 8 gray:" + file, 5000);
  const std::string gray = testsupport::ReadFileBytes(file);
  Band band;
  if (gray.size() != static_cast<std::size_t>(kWidth * kHeight)) return band;
  for (auto it = gray.begin() + kBandTop * kWidth; it != gray.end(); ++it)
    band.push_back(static_cast<unsigned char>(*it) > 200);
  return band;
}

int TextPixels(const Band& band) { return static_cast<int>(std::count(band.begin(), band.end(), true)); }

int Differences(const Band& a, const Band& b) {
  if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST(SubtitleRendering, ChineseSubtitleShowsAsTextInGbkUtf8AndBig5) {
  testsupport::Xvfb xvfb(kWidth, kHeight);
  ASSERT_TRUE(xvfb.Running());
  setenv("DISPLAY", xvfb.Display().c_str(), 1);
  unsetenv("KINOVUE_MPLAYER");
  const std::string clip = testsupport::BlackClip();
  ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the test clip";
  const std::string font = platform::CjkFontFile();
  ASSERT_FALSE(font.empty()) << "no CJK font installed";
  EngineLibrary library(KINOVUE_ENGINE_LIBRARY);
  ASSERT_TRUE(library.Loaded()) << library.Error();
  CommandPipe commands;
  testsupport::TempDir dir;

  // "中文字幕測試" in each encoding: every character exists in GBK and Big5.
  const struct {
    std::string encoding;
    std::string text;
  } rows[] = {
      {"gbk", "\xd6\xd0\xce\xc4\xd7\xd6\xc4\xbb\x9c\x79\xd4\x87"},
      {"utf8", "\xe4\xb8\xad\xe6\x96\x87\xe5\xad\x97\xe5\xb9\x95\xe6\xb8\xac\xe8\xa9\xa6"},
      {"big5", "\xa4\xa4\xa4\xe5\xa6\x72\xb9\xf5\xb4\xfa\xb8\xd5"},
  };
  Band gbk;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.encoding);
    const std::string folder = dir.File(row.encoding);
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(symlink(clip.c_str(), (folder + "/clip.avi").c_str()), 0);
    ASSERT_TRUE(testsupport::WriteFileBytes(folder + "/clip.srt",
                                            "1\r\n00:00:00,000 --> 01:00:00,000\r\n" + row.text + "\r\n\r\n"));

    // The host's vector with its subtitle options; without "-wid" MPlayer
    // opens its own window.
    auto args = HostArgs(folder + "/clip.avi", {"-subfont-text-scale", "3.5", "-sub-fuzziness", "1", "-subpos", "100",
                                                "-subalign", "2", "-font", font, "-subcp", "cp936", "-loop", "0"});
    const auto wid = std::find(args.begin(), args.end(), "-wid");
    ASSERT_NE(wid, args.end());
    args.erase(wid, wid + 2);
    OutputPipe output;
    EngineCall call(library, args, output.WriteFd());
    ASSERT_TRUE(output.WaitFor("VO: [x11]", 15s)) << output.Text();

    // The first frames may come before the subtitle is drawn.
    Band band;
    for (const auto until = Clock::now() + 3s; TextPixels(band) < kGlyphPixels && Clock::now() < until;)
      band = GrabBand(xvfb.Display(), dir.File("screen.gray"));
    commands.Send("quit\n");
    EXPECT_TRUE(call.WaitDone(5s));

    EXPECT_GE(TextPixels(band), kGlyphPixels) << "drawn as missing glyphs or wrongly decoded";
    if (row.encoding == "gbk") {
      gbk = band;
    } else {
      EXPECT_LE(Differences(band, gbk), TextPixels(gbk) / 10) << "does not look like the GBK file's text";
    }
  }
}

}  // namespace
