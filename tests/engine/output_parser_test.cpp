#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "engine/engine_types.h"
#include "engine/output_lines.h"
#include "engine/output_parser.h"

namespace {

struct Recorder : OutputEvents {
  std::vector<std::string> events;
  void OnLength(int length, int resume) override {
    events.push_back("length " + std::to_string(length) + " " + std::to_string(resume));
  }
  void OnPosition(int position, int length) override {
    events.push_back("position " + std::to_string(position) + " " + std::to_string(length));
  }
  void OnPlaybackStarted() override { events.push_back("started"); }
  void OnLogLine(const char* line) override { events.push_back(std::string("log ") + line); }
  void OnFailure(const char* line) override { events.push_back(std::string("failure ") + line); }
};

struct Parser {
  MediaFields fields;
  Recorder recorder;
  void Line(const std::string& line) { HandleOutputLine(line.c_str(), line.size(), fields, recorder); }
};

TEST(OutputParsing, StatusLinesReportEachNewWholeSecond) {
  Parser p;
  p.Line("A:   1.2 (01.1) of 3.0 (03.0)  0.5%");
  p.Line("A:   1.9 (01.8) of 3.0 (03.0)  0.5%");  // same second: nothing
  p.Line("A:   0.4 (00.4) of 3.0 (03.0)  0.5%");  // backwards after a seek
  EXPECT_EQ(p.recorder.events, (std::vector<std::string>{"position 1 0", "position 0 0"}));
  p.Line("A:12");                                   // 7 characters or fewer: an ordinary line
  EXPECT_EQ(p.recorder.events.back(), "log A:12");
}

TEST(OutputParsing, VideoStatusLinesUseTheVideoTime) {
  Parser p;
  p.fields.hasVideo = true;
  p.fields.length = 60;
  p.Line("A:  10.3 V:  12.1 A-V: -1.800 ct:  0.000   3/  3 ??% ??% ??,?% 0 0 V: 99");
  EXPECT_EQ(p.recorder.events, (std::vector<std::string>{"position 12 60"}));
  EXPECT_EQ(StatusLineSeconds("V: -3 4.9", 9, false), 34);  // signs and spaces do not stop the scan
}

TEST(OutputParsing, HugeDigitRunsSaturate) {
  const std::string line = "A: 99999999999999999999999999999.0";
  EXPECT_EQ(StatusLineSeconds(line.c_str(), line.size(), false), INT_MAX);
  Parser p;
  p.fields.hasVideo = true;
  // Picture sizes are held to what a screen can show: the medium's own
  // text can forge this line.
  p.Line("VO: [x11] 99999999999999x240 => 320x99999999999999 Packed");
  EXPECT_EQ(p.fields.videoWidth, kMaxPictureSide);
  EXPECT_EQ(p.fields.displayHeight, kMaxPictureSide);
  p.Line("ID_VIDEO_WIDTH=2147483647");
  EXPECT_EQ(p.fields.videoWidth, kMaxPictureSide);
  p.Line("ID_LENGTH=1e400 99999999999999999999999999999999999999");
  EXPECT_EQ(p.fields.length, 1);  // "1" then a letter: the number ends there
  p.Line("ID_LENGTH=99999999999999999999999999999999999999");
  EXPECT_EQ(p.fields.length, INT_MAX);
}

TEST(OutputParsing, LengthIsRoundedAndCarriesTheResumePosition) {
  EXPECT_EQ(ParseLengthSeconds("99.5"), 100);
  EXPECT_EQ(ParseLengthSeconds("99.4"), 99);
  EXPECT_EQ(ParseLengthSeconds("  7"), 7);
  EXPECT_EQ(ParseLengthSeconds("abc"), 0);
  Parser p;
  p.fields.resumePosition = 125;
  p.Line("ID_LENGTH=300.00");
  p.Line("ID_LENGTH=301.00");
  EXPECT_EQ(p.recorder.events, (std::vector<std::string>{"length 300 125", "log ID_LENGTH=300.00", "length 301 0",
                                                         "log ID_LENGTH=301.00"}));
}

TEST(OutputParsing, NoStartLineBeforeTheMediumKindIsKnown) {
  Parser p;
  p.fields.state = ENGINE_STATE_OPENING;
  p.Line("VO: [null] 320x240 => 320x240 Planar YV12");
  p.Line("AO: [null] 44100Hz 2ch s16le (2 bytes per sample)");
  EXPECT_EQ(p.fields.state, ENGINE_STATE_OPENING);
  EXPECT_EQ(p.recorder.events.size(), 2u);  // both only logged
}

TEST(OutputParsing, VideoStartLineReadsTheFourSizes) {
  Parser p;
  p.Line("ID_VIDEO_WIDTH=320");
  p.Line("ID_VIDEO_HEIGHT=240");
  p.Line("ID_AUDIO_ID=0");
  EXPECT_TRUE(p.fields.hasVideo);
  EXPECT_TRUE(p.fields.hasAudio);
  EXPECT_EQ(p.fields.videoWidth, 320);
  EXPECT_EQ(p.fields.videoHeight, 240);
  p.Line("AO: [pulse] 44100Hz 2ch s16le");  // a video medium starts only with its picture
  p.recorder.events.clear();
  p.Line("VO: [x11] 320x240 => 640x480 Planar YV12 ");
  EXPECT_EQ(p.recorder.events, std::vector<std::string>{"started"});
  EXPECT_EQ(p.fields.state, ENGINE_STATE_PLAYING);
  EXPECT_EQ(p.fields.displayWidth, 640);
  EXPECT_EQ(p.fields.displayHeight, 480);
}

TEST(OutputParsing, TheSameOutputSetUpTwiceStartsPlaybackOnce) {
  Parser p;
  p.fields.hasVideo = true;
  for (const char* line : {"VO: [xv] 640x480 => 640x480 Planar YV12", "VO: [xv] 640x480 => 640x480 Planar YV12",
                           "VO: [xv] 1280x720 => 1280x720 Planar YV12"})
    p.Line(line);
  EXPECT_EQ(p.recorder.events, (std::vector<std::string>{"started", "log VO: [xv] 640x480 => 640x480 Planar YV12",
                                                         "started"}));
  EXPECT_EQ(p.fields.displayWidth, 1280);
}

TEST(OutputParsing, BrokenVideoLinesDoNotStartPlayback) {
  for (const std::string line : {"VO: [x11] 320x240 640x480", "VO: [x11]", "VO: [x11] x240 => 640x480",
                                 "VO: [x11]320x240 => 640x480", "VO: [x11] 320x240 => 640x", "VO: [a]b] 1x2 => 3",
                                 "VO: [x11] 320"}) {
    Parser p;
    p.fields.hasVideo = true;
    p.fields.state = ENGINE_STATE_OPENING;
    p.Line(line);
    EXPECT_EQ(p.fields.state, ENGINE_STATE_OPENING) << line;
    EXPECT_EQ(p.recorder.events, std::vector<std::string>{"log " + line}) << line;
  }
  Parser p;
  p.fields.hasVideo = true;
  p.Line("VO: [x11] 320x240 => 640x");
  EXPECT_EQ(p.fields.videoWidth, 320);   // read before the failure
  EXPECT_EQ(p.fields.displayWidth, 640);
  EXPECT_EQ(p.fields.displayHeight, 0);  // the one that failed
  Parser q;
  q.fields.hasVideo = true;
  q.Line("VO: [a]b] 1x2 => 3x4");  // the first "] " ends the driver name
  EXPECT_EQ(q.fields.videoWidth, 1);
  EXPECT_EQ(q.fields.state, ENGINE_STATE_PLAYING);
}

TEST(OutputParsing, SoundOnlyStartsWithAWorkingAudioOutput) {
  struct Row {
    const char* line;
    bool starts;
  };
  for (const Row& row : {Row{"AO: [pulse] 44100Hz 2ch s16le (2 bytes per sample)", true},
                         Row{"AO: [alsa] 8000Hz 1ch u8", true},
                         Row{"AO: [pulse] Init failed: Connection refused", false},
                         Row{"AO: [pulse] 44100 2ch", false}, Row{"AO: [alsa]", false},
                         Row{"AO: [alsa] Hz", false}}) {
    Parser p;
    p.fields.state = ENGINE_STATE_OPENING;
    p.Line("ID_AUDIO_CODEC=mpg123");
    p.Line(row.line);
    EXPECT_EQ(p.fields.state == ENGINE_STATE_PLAYING, row.starts) << row.line;
  }
}

TEST(OutputParsing, FailureLinesAreReportedAndLogged) {
  for (const char* line : {"kinovue engine: cannot start /usr/bin/mplayer: No such file or directory",
                           "Failed to open /m/a.avi.", "File not found: '/m/a.avi'"}) {
    Parser p;
    p.Line(line);
    EXPECT_EQ(p.recorder.events, (std::vector<std::string>{std::string("failure ") + line, std::string("log ") + line}));
  }
  Parser p;
  p.Line("Failed to recognize nothing");  // not a failure to open
  EXPECT_EQ(p.recorder.events.size(), 1u);
}

// Feeds the text split into reads at the given positions; returns the lines.
std::vector<std::string> Split(const std::string& text, std::vector<std::size_t> cuts) {
  std::vector<std::string> lines;
  LineSplitter splitter;
  auto onLine = [&](const char* line, std::size_t length) {
    EXPECT_EQ(std::string(line).size(), length);
    lines.emplace_back(line, length);
  };
  std::size_t from = 0;
  cuts.push_back(text.size());
  for (std::size_t cut : cuts) {
    std::string chunk = text.substr(from, cut - from);
    chunk.push_back('\0');  // the spare byte the reader's buffer has
    splitter.Feed(chunk.data(), cut - from, onLine);
    from = cut;
  }
  splitter.Finish(onLine);
  return lines;
}

TEST(OutputLines, CrLfNulAndCrOnlyStatusLinesAllEndLines) {
  const std::string text("ID_LENGTH=12.0\r\nA:   1.0 \rA:   2.0 \r\n\nx\0y\n", 42);
  EXPECT_EQ(Split(text, {}), (std::vector<std::string>{"ID_LENGTH=12.0", "A:   1.0 ", "A:   2.0 ", "x", "y"}));
}

TEST(OutputLines, ALineSplitAtAnyByteIsJoined) {
  const std::string text = "ID_LENGTH=123.4\nVO: [null] 320x240 => 320x240 Planar\rA:   3.1 \r\ntail";
  const auto whole = Split(text, {});
  ASSERT_EQ(whole.size(), 4u);
  for (std::size_t cut = 0; cut <= text.size(); ++cut) EXPECT_EQ(Split(text, {cut}), whole) << "cut at " << cut;
  for (std::size_t a = 1; a < text.size(); a += 3)
    for (std::size_t b = a; b < text.size(); b += 5) EXPECT_EQ(Split(text, {a, b}), whole);
}

TEST(OutputLines, OverlongLinesComeInPiecesOfBoundedSize) {
  const std::string text = std::string(5000, 'z') + "\nnext\n";
  const auto lines = Split(text, {1000, 2000, 2100, 4999});
  std::string joined;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), LineSplitter::kMaxLine);
    joined += lines[i];
  }
  EXPECT_EQ(joined, std::string(5000, 'z'));
  EXPECT_EQ(lines.back(), "next");
}

TEST(OutputLines, SplitLengthReachesTheParserWhole) {
  Parser p;
  LineSplitter splitter;
  auto onLine = [&](const char* line, std::size_t n) { HandleOutputLine(line, n, p.fields, p.recorder); };
  char first[] = "ID_LENGTH=12\0";
  char second[] = "3.4\n\0";
  splitter.Feed(first, 12, onLine);
  splitter.Feed(second, 4, onLine);
  EXPECT_EQ(p.fields.length, 123);
}

}  // namespace
